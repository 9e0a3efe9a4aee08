#pragma once

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QList>
#include <QListView>
#include <QObject>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest/QTest>
#include <functional>
#include <ostream>
#include <vector>

// Readable failures; internal linkage so that no other test file's printer can clash.
[[maybe_unused]] static void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// Answers the modal windows that a blocking call opens, one step per window, from inside the
// nested event loop of that call. A step's action must not block: a click that opens another
// modal window is posted, so that the script keeps running while that window is open.
// A window that no step expects, or one left waiting too long, is closed and reported.
class TModalScript : public QObject {
  public:
    using TReady = std::function<bool(QWidget*)>;
    using TAct = std::function<void(QWidget*)>;

    TModalScript() {
        Clock.start();
        Schedule();
    }

    TModalScript& Then(TReady ready, TAct act) {
        Steps.push_back({std::move(ready), std::move(act)});
        return *this;
    }

    bool Finished() const { return Next == Steps.size() && !Busy; }
    const QStringList& Failures() const { return Problems; }

  private:
    struct TStep {
        TReady Ready;
        TAct Act;
    };

    void Schedule() {
        QTimer::singleShot(5, this, [this] { Tick(); });
    }

    void Tick() {
        Schedule();
        QWidget* modal = QApplication::activeModalWidget();
        if (Busy || modal == nullptr) {
            return;
        }
        if (Next < Steps.size() && Steps[Next].Ready(modal)) {
            Answered.append(modal);
            Busy = true;
            const TAct act = Steps[Next++].Act;
            act(modal);
            Busy = false;
            Clock.restart();
            return;
        }
        const bool unexpected = Next == Steps.size() && !Answered.contains(modal);
        if (unexpected || Clock.elapsed() > 5000) {
            Problems.append(QStringLiteral("%1 window \"%2\" at step %3")
                                .arg(unexpected ? "unexpected" : "unanswered", modal->windowTitle())
                                .arg(Next));
            if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                dialog->reject();
            } else {
                modal->close();
            }
            Clock.restart();
        }
    }

    std::vector<TStep> Steps;
    std::size_t Next = 0;
    bool Busy = false;
    QList<QPointer<QWidget>> Answered;
    QStringList Problems;
    QElapsedTimer Clock;
};

inline bool IsFileDialog(QWidget* modal) {
    return qobject_cast<QFileDialog*>(modal) != nullptr;
}

inline QLineEdit* FileNameEdit(QWidget* dialog) {
    return dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

// Goes to the folder of a full name, types the name's last part as the user does, then presses
// the dialog's Open or Save button (posted: a question raised by the button must not stall the
// script).
inline void TypeAndConfirm(QWidget* modal, const QString& name) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    const QFileInfo typed(name);
    if (typed.isAbsolute()) {
        dialog->setDirectory(typed.absolutePath());
    }
    QLineEdit* edit = FileNameEdit(dialog);
    edit->clear();
    QTest::keyClicks(edit, typed.isAbsolute() ? typed.fileName() : name);
    if (QWidget* completions = QApplication::activePopupWidget()) {
        completions->close();
    }
    auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    QPushButton* confirm =
        buttons->button(dialog->acceptMode() == QFileDialog::AcceptOpen ? QDialogButtonBox::Open
                                                                        : QDialogButtonBox::Save);
    QTimer::singleShot(0, confirm, [confirm] { QTest::mouseClick(confirm, Qt::LeftButton); });
}

inline void PressCancel(QWidget* modal) {
    auto* buttons = modal->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    QTimer::singleShot(0, cancel, [cancel] { QTest::mouseClick(cancel, Qt::LeftButton); });
}

// Clicks a file in the dialog's list once the folder has been read.
inline bool ClickFileInList(QWidget* dialog, const QString& path) {
    auto* list = dialog->findChild<QListView*>(QStringLiteral("listView"));
    auto* files = qobject_cast<QFileSystemModel*>(list->model());
    if (!QTest::qWaitFor([&] { return files->index(path).isValid(); }, 5000)) {
        return false;
    }
    const QModelIndex index = files->index(path);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    return true;
}

// Qt's file dialog keeps its history in the user's settings: send them to a private folder.
inline void IsolateToolkitSettings() {
    static QTemporaryDir folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
}

// The dialog's detail list after its folder has been read: every head and every cell that does
// not read in full, and columns that lie beyond the list's right edge.
inline QStringList CutColumns(QWidget* dialog, int expectedRows) {
    auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
    QAbstractItemModel* files = view->model();
    if (!QTest::qWaitFor([&] { return files->rowCount(view->rootIndex()) == expectedRows; },
                         5000)) {
        return {QStringLiteral("%1 rows instead of %2")
                    .arg(files->rowCount(view->rootIndex()))
                    .arg(expectedRows)};
    }
    QStringList cut;
    const QHeaderView* header = view->header();
    int columnsWidth = 0;
    for (int column = 0; column < header->count(); ++column) {
        const int width = header->sectionSize(column);
        columnsWidth += width;
        const QString head = files->headerData(column, Qt::Horizontal).toString();
        if (header->sectionSizeHint(column) > width) {
            cut.append(QStringLiteral("head \"%1\"").arg(head));
        }
        for (int row = 0; row < files->rowCount(view->rootIndex()); ++row) {
            const QModelIndex cell = files->index(row, column, view->rootIndex());
            if (view->sizeHintForIndex(cell).width() > width) {
                cut.append(QStringLiteral("%1 \"%2\"").arg(head, cell.data().toString()));
            }
        }
    }
    if (columnsWidth > view->viewport()->width()) {
        cut.append(QStringLiteral("columns %1 px wide in a list of %2 px")
                       .arg(columnsWidth)
                       .arg(view->viewport()->width()));
    }
    return cut;
}
