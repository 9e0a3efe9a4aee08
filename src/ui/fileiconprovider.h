#pragma once

#include <QFileIconProvider>
#include <QMimeDatabase>

// The file dialogs' icons and type texts, taken from names alone. Qt's own provider opens a
// file whose name does not tell its type and reads its first bytes; in /proc or on a fifo that
// read can wait for good, with the dialog frozen.
class TFileIconProvider : public QFileIconProvider {
  public:
    QIcon icon(IconType type) const override;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;

  private:
    QMimeType TypeByName(const QFileInfo& info) const;

    QMimeDatabase Mimes;
};
