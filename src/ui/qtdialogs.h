#pragma once

#include <QString>
#include <QStringList>

#include "ui/dialogs.h"
#include "ui/fileiconprovider.h"

// A filter in the "description|pattern|description|pattern" form as Qt name filters: a
// description that already ends in its pattern in brackets is shown as it is.
QStringList QtNameFilters(const QString& filter);

// The window's dialogs as real Qt dialogs. The file dialogs are Qt's own widgets, never the
// desktop's, so they behave alike everywhere; each proposes the name last confirmed in it. None
// reads a file's content to show it in the list.
class TQtDialogs : public TDialogs {
  public:
    std::optional<QString> OpenConfigFile(QWidget* parent) override;
    std::optional<QString> SaveConfigFile(QWidget* parent) override;
    std::optional<QString> SavePictureFile(QWidget* parent) override;
    void Information(QWidget* parent, const QString& title, const QString& text) override;
    void ErrorBox(QWidget* parent, const QString& title, const QString& text) override;

  private:
    TFileIconProvider IconProvider;
    QString OpenDialog1FileName;
    QString SaveDialog1FileName;
    QString SavePictureDialog1FileName;
};
