#include "ui/qtdialogs.h"

#include <QFileDialog>
#include <QMessageBox>

#include "ui/filedialogsize.h"
#include "ui/picturedialog.h"

namespace {

const QString kConfigFilter = QStringLiteral("Текстовые файлы (*.txt)|*.txt");
const QString kConfigExtension = QStringLiteral("txt");
const QString kPictureFilter = QStringLiteral("Bitmaps (*.bmp)|*.bmp");
const QString kPictureExtension = QStringLiteral("bmp");

// Both modes accept a name that does not exist yet and never ask before a file is replaced:
// the commands themselves decide what a missing or existing file means.
std::optional<QString> RunFileDialog(QFileDialog& dialog, QAbstractFileIconProvider& icons,
                                     QFileDialog::AcceptMode mode, const QString& filter,
                                     const QString& extension, QString& lastFileName) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setIconProvider(&icons);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(mode);
    dialog.setNameFilters(QtNameFilters(filter));
    dialog.setDefaultSuffix(extension);
    if (!lastFileName.isEmpty()) {
        dialog.selectFile(lastFileName);
    }
    FitFileDialogToColumns(dialog);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    lastFileName = chosen.first();
    return lastFileName;
}

void RunMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                   const QString& text) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    // File names in error texts may hold '<' or '&': never read them as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace

QStringList QtNameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString bracketed = QStringLiteral("(%1)").arg(patterns);
        result.append(description.endsWith(bracketed)
                          ? description
                          : QStringLiteral("%1 %2").arg(description, bracketed));
    }
    return result;
}

std::optional<QString> TQtDialogs::OpenConfigFile(QWidget* parent) {
    QFileDialog dialog(parent);
    return RunFileDialog(dialog, IconProvider, QFileDialog::AcceptOpen, kConfigFilter,
                         kConfigExtension, OpenDialog1FileName);
}

std::optional<QString> TQtDialogs::SaveConfigFile(QWidget* parent) {
    QFileDialog dialog(parent);
    return RunFileDialog(dialog, IconProvider, QFileDialog::AcceptSave, kConfigFilter,
                         kConfigExtension, SaveDialog1FileName);
}

std::optional<QString> TQtDialogs::SavePictureFile(QWidget* parent) {
    TSavePictureDialog dialog(parent);
    return RunFileDialog(dialog, IconProvider, QFileDialog::AcceptSave, kPictureFilter,
                         kPictureExtension, SavePictureDialog1FileName);
}

void TQtDialogs::Information(QWidget* parent, const QString& title, const QString& text) {
    RunMessageBox(parent, QMessageBox::Information, title, text);
}

void TQtDialogs::ErrorBox(QWidget* parent, const QString& title, const QString& text) {
    RunMessageBox(parent, QMessageBox::Critical, title, text);
}
