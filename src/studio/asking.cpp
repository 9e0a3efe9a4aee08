#include "studio/asking.h"

#include <QFileDialog>
#include <QMessageBox>

#include "config/messages.h"
#include "model/msgid.h"

namespace {

QString Text(const char* msgid) {
    return QString::fromUtf8(Tr(msgid));
}

// Configuration files are text files; any name is still allowed.
QString ConfigFilters() {
    return Text(Msgid("Configuration files (*.txt)")) + QStringLiteral(";;") +
           Text(Msgid("All files (*)"));
}

}  // namespace

TStudioAsk::TAnswer TStudioAsk::Discard(const QString& name) {
    const auto answer = QMessageBox::question(
        Parent, Parent ? Parent->windowTitle() : QString(),
        QString::fromUtf8(TrFormat("%s has changed. Save the changes?", {name.toStdString()})),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save) return TAnswer::Save;
    if (answer == QMessageBox::Discard) return TAnswer::Discard;
    return TAnswer::Cancel;
}

QString TStudioAsk::OpenName(const QString& caption) {
    return QFileDialog::getOpenFileName(Parent, caption, {}, ConfigFilters());
}

QString TStudioAsk::SaveName(const QString& caption, const QString& suggested) {
    QFileDialog dialog(Parent, caption, suggested, ConfigFilters());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
               ? dialog.selectedFiles().front()
               : QString();
}
