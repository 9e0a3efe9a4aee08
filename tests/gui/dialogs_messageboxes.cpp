#include <gtest/gtest.h>

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "dialogs_script.h"
#include "ui/qtdialogs.h"

namespace {

TEST(MessageBoxesTest, ShowIconTitleAndTextWithOneOkButton) {
    const struct {
        const char* Name;
        void (TQtDialogs::*Show)(QWidget*, const QString&, const QString&);
        QMessageBox::Icon Icon;
        QString Title;
        QString Text;
    } cases[] = {
        {"Information", &TQtDialogs::Information, QMessageBox::Information, "Information",
         QStringLiteral("Один излучатель необходимо оставить включенным!")},
        {"ErrorBox", &TQtDialogs::ErrorBox, QMessageBox::Critical, "arraypattern",
         "Unable to write to /tmp/<b>setup</b>&amp;.txt."},
    };
    TQtDialogs dialogs;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QString title;
        QString shownText;
        Qt::TextFormat format = Qt::AutoText;
        TModalScript script;
        script.Then([](QWidget* modal) { return qobject_cast<QMessageBox*>(modal) != nullptr; },
                    [&](QWidget* modal) {
                        auto* box = qobject_cast<QMessageBox*>(modal);
                        icon = box->icon();
                        buttons = box->standardButtons();
                        title = box->windowTitle();
                        const auto* label = box->findChild<QLabel*>("qt_msgbox_label");
                        shownText = label->text();
                        format = label->textFormat();
                        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
                    });
        (dialogs.*c.Show)(nullptr, c.Title, c.Text);

        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(script.Failures(), QStringList());
        EXPECT_EQ(icon, c.Icon);
        EXPECT_EQ(buttons, QMessageBox::Ok);
        EXPECT_EQ(title, c.Title);
        EXPECT_EQ(shownText, c.Text);
        EXPECT_EQ(format, Qt::PlainText) << "a file name is never read as markup";
    }
}

}  // namespace
