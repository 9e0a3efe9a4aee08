#include "studio/staleveil.h"

#include <QEvent>
#include <QPainter>
#include <QVariant>
#include <QWidget>

namespace {

const char* const kStale = "stale";

// Covers its chart whole and follows its size; it takes no mouse, so the chart under it can
// still be read and clicked.
class TStaleVeil : public QWidget {
  public:
    explicit TStaleVeil(QWidget* chart) : QWidget(chart) {
        setObjectName(QStringLiteral("staleVeil"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        chart->installEventFilter(this);
        setGeometry(chart->rect());
    }

    void SetReason(const QString& reason) {
        Reason = reason;
        setToolTip(reason);
        update();
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parent() && event->type() == QEvent::Resize) {
            setGeometry(parentWidget()->rect());
        }
        return false;
    }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(255, 255, 255, 170));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect().adjusted(12, 12, -12, -12),
                         Qt::AlignCenter | Qt::TextWordWrap, Reason);
    }

  private:
    QString Reason;
};

TStaleVeil* VeilOf(const QWidget* chart) {
    return chart->findChild<TStaleVeil*>(QStringLiteral("staleVeil"), Qt::FindDirectChildrenOnly);
}

}  // namespace

void SetStale(QWidget* chart, const QString& reason) {
    TStaleVeil* veil = VeilOf(chart);
    if (!veil) veil = new TStaleVeil(chart);
    veil->SetReason(reason);
    veil->raise();
    veil->show();
    chart->setProperty(kStale, true);
}

void SetCurrent(QWidget* chart) {
    // Every redraw clears the mark: a chart that carries none costs nothing.
    if (!IsStale(chart)) return;
    if (TStaleVeil* veil = VeilOf(chart)) veil->hide();
    chart->setProperty(kStale, false);
}

bool IsStale(const QWidget* chart) {
    return chart->property(kStale).toBool();
}
