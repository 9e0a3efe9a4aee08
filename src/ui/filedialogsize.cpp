#include "ui/filedialogsize.h"

#include <QDateTime>
#include <QEvent>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QHeaderView>
#include <QLocale>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTreeView>
#include <algorithm>
#include <array>

namespace {

// The file list's detail columns, as Qt's file system model orders them.
enum { NameColumn, SizeColumn, TypeColumn, DateColumn, ColumnCount };

// Qt writes sizes with the system locale in binary units: the longest texts have four digits
// before the separator in each unit.
QStringList SizeTexts() {
    const QLocale locale = QLocale::system();
    QStringList texts;
    for (qint64 unit = 1; unit <= (qint64(1) << 40); unit <<= 10) {
        texts.append(locale.formattedDataSize(1023 * unit + unit - unit / 100 - 1));
    }
    return texts;
}

// The filter lets only folders and files of its own patterns into the list.
QStringList TypeTexts(const QFileDialog& dialog) {
    QStringList texts{QFileIconProvider().type(QFileInfo(QDir::tempPath()))};
    const QMimeDatabase mimes;
    static const QRegularExpression kPattern(QStringLiteral("\\*\\.([^ )]+)"));
    for (const QString& filter : dialog.nameFilters()) {
        for (const QRegularExpressionMatch& match : kPattern.globalMatch(filter)) {
            const QMimeType type = mimes.mimeTypeForFile(QStringLiteral("x.") + match.captured(1),
                                                         QMimeDatabase::MatchExtension);
            texts.append(type.comment().isEmpty() ? type.name() : type.comment());
        }
    }
    return texts;
}

// A date and time whose every field has two digits, in the short form Qt shows.
QStringList DateTexts() {
    return {QLocale::system().toString(QDateTime(QDate(2000, 12, 28), QTime(22, 48)),
                                       QLocale::ShortFormat)};
}

// The width the list's cells take for a text, as its item delegate measures them.
int CellWidth(const QTreeView& view, const QString& text) {
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.features = QStyleOptionViewItem::HasDisplay;
    option.text = text;
    return view.style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), &view).width();
}

// The splitter places the list only when the dialog is shown: the dialog is widened then.
class TWidenOnShow : public QObject {
  public:
    TWidenOnShow(QFileDialog& dialog, QTreeView& view, int columnsWidth)
        : QObject(&dialog), Dialog(dialog), View(view), ColumnsWidth(columnsWidth) {
        dialog.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &Dialog && event->type() == QEvent::Show) {
            const int shortBy = ColumnsWidth + 2 * View.frameWidth() +
                                View.verticalScrollBar()->sizeHint().width() - View.width();
            if (shortBy > 0) {
                Dialog.resize(Dialog.width() + shortBy, Dialog.height());
            }
            Dialog.removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

  private:
    QFileDialog& Dialog;
    QTreeView& View;
    int ColumnsWidth;
};

}  // namespace

void FitFileDialogToColumns(QFileDialog& dialog) {
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (view == nullptr) {
        return;
    }
    QHeaderView* header = view->header();
    const std::array<QStringList, ColumnCount> samples = {QStringList(), SizeTexts(),
                                                          TypeTexts(dialog), DateTexts()};
    int columnsWidth = 0;
    for (int column = 0; column < std::min<int>(header->count(), ColumnCount); ++column) {
        if (header->isSectionHidden(column)) {
            continue;
        }
        int width = std::max(header->sectionSize(column), header->sectionSizeHint(column));
        for (const QString& text : samples[static_cast<std::size_t>(column)]) {
            width = std::max(width, CellWidth(*view, text));
        }
        header->resizeSection(column, width);
        columnsWidth += width;
    }
    new TWidenOnShow(dialog, *view, columnsWidth);
}
