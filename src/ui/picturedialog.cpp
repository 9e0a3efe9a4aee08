#include "ui/picturedialog.h"

#include <QBuffer>
#include <QDialog>
#include <QFile>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "config/filecontent.h"

namespace {

const QString kPictureLabel = QStringLiteral("Picture:");
const QString kNoPicture = QStringLiteral("(None)");
const QString kPreviewTitle = QStringLiteral("Preview");
constexpr int kPaneSide = 160;  // pixels
// Larger files are not previewed: far beyond any picture the program writes.
constexpr std::size_t kMaxPreviewBytes = std::size_t{64} << 20;

// A modal window with the picture at its own size, scrolled when it exceeds the screen;
// Escape closes it as it closes any dialog.
void RunPreviewWindow(QWidget* parent, const QImage& picture) {
    QDialog window(parent);
    window.setWindowTitle(kPreviewTitle);
    auto* image = new QLabel;
    image->setPixmap(QPixmap::fromImage(picture));
    auto* scroller = new QScrollArea;
    scroller->setWidget(image);
    scroller->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroller);
    QSize wanted = picture.size() + QSize(2 * scroller->frameWidth(), 2 * scroller->frameWidth());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        wanted = wanted.boundedTo(screen->availableSize() * 9 / 10);
    }
    window.resize(wanted);
    window.exec();
}

}  // namespace

TSavePictureDialog::TSavePictureDialog(QWidget* parent)
    : QFileDialog(parent),
      PictureLabel(new QLabel(kPictureLabel)),
      ImagePane(new QLabel(kNoPicture)),
      PreviewButton(new QToolButton) {
    setOption(QFileDialog::DontUseNativeDialog);
    PictureLabel->setObjectName(QStringLiteral("PictureLabel"));
    ImagePane->setObjectName(QStringLiteral("ImagePane"));
    PreviewButton->setObjectName(QStringLiteral("PreviewButton"));

    PreviewButton->setToolTip(kPreviewTitle);
    PreviewButton->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    PreviewButton->setEnabled(false);
    ImagePane->setFixedSize(kPaneSide, kPaneSide);
    ImagePane->setAlignment(Qt::AlignCenter);
    ImagePane->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);

    auto* header = new QHBoxLayout;
    header->addWidget(PictureLabel, 1);
    header->addWidget(PreviewButton);
    auto* pane = new QVBoxLayout;
    pane->addLayout(header);
    pane->addWidget(ImagePane);
    pane->addStretch(1);

    // Qt's own dialog lays its widgets out on a grid: the pane takes a new column of it.
    auto* grid = qobject_cast<QGridLayout*>(layout());
    Q_ASSERT(grid != nullptr);
    grid->addLayout(pane, 0, grid->columnCount(), grid->rowCount(), 1);

    connect(this, &QFileDialog::currentChanged, this, &TSavePictureDialog::ShowPictureOf);
    connect(PreviewButton, &QToolButton::clicked, this, &TSavePictureDialog::OpenPreview);
}

// The list marks the proposed name only once its folder has been read, if at all: the pane
// shows that file from the start instead of waiting for a click.
void TSavePictureDialog::showEvent(QShowEvent* event) {
    QFileDialog::showEvent(event);
    ShowPictureOf(selectedFiles().value(0));
}

// Only plain files are read, and only as far as their size says: opening a pipe or a terminal,
// or reading a /proc file, would wait for data that may never come, with the dialog frozen.
void TSavePictureDialog::ShowPictureOf(const QString& path) {
    Picture = QImage();
    const TFileContent content = ReadFileContent(QFile::encodeName(path).toStdString(),
                                                 kMaxPreviewBytes, TFileKinds::Regular);
    if (!content.Text.empty()) {
        QByteArray bytes(content.Text.data(), static_cast<qsizetype>(content.Text.size()));
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer);
        reader.setDecideFormatFromContent(true);
        Picture = reader.read();
    }
    if (Picture.isNull()) {
        PictureLabel->setText(kPictureLabel);
        ImagePane->setPixmap(QPixmap());
        ImagePane->setText(kNoPicture);
        PreviewButton->setEnabled(false);
        return;
    }
    PictureLabel->setText(QStringLiteral(" (%1x%2)").arg(Picture.width()).arg(Picture.height()));
    const QSize room = ImagePane->contentsRect().size();
    const bool fits = Picture.width() <= room.width() && Picture.height() <= room.height();
    ImagePane->setPixmap(QPixmap::fromImage(
        fits ? Picture : Picture.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    PreviewButton->setEnabled(true);
}

void TSavePictureDialog::OpenPreview() {
    if (!Picture.isNull()) {
        RunPreviewWindow(this, Picture);
    }
}
