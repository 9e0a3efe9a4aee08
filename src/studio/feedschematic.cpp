#include "studio/feedschematic.h"

#include <QPainter>
#include <QRegularExpression>
#include <cmath>
#include <numbers>

namespace {

constexpr int kStep = 90;  // pixels between two nodes along the bus
constexpr int kBusY = 40;  // pixels from the top
constexpr int kDrop = 60;  // the shunt parts' and the lines' height
constexpr int kLineGap = 56;

bool IsBusNode(const std::string& name) {
    static const QRegularExpression kBus(QStringLiteral("^(tx|n[0-9]+)$"));
    return kBus.match(QString::fromStdString(name)).hasMatch();
}

}  // namespace

bool IsOwnLayout(const TNetwork& network) {
    static const QRegularExpression kParts(
        QStringLiteral("^(VTX|RTX|[LC](MS|MP|S[0-9]+|P[0-9]+)|TE[1-8])$"),
        QRegularExpression::CaseInsensitiveOption);
    if (network.Source < 0 || network.SourceResistor < 0) return false;
    for (const TPart& p : network.Parts) {
        if (!kParts.match(QString::fromStdString(p.Name)).hasMatch()) return false;
    }
    return true;
}

TFeedSchematic::TFeedSchematic(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(kBusY + 2 * kDrop + 40);
}

void TFeedSchematic::SetNetwork(std::shared_ptr<const TNetwork> network, double hz) {
    Network = std::move(network);
    Hz = hz;
    Own = Network && IsOwnLayout(*Network);
    setVisible(Own);
    if (Own) {
        int bus = 0;
        for (const std::string& n : Network->Nodes) bus += IsBusNode(n) ? 1 : 0;
        int lines = 0;
        for (const TPart& p : Network->Parts) lines += p.Kind == TPartKind::Line ? 1 : 0;
        setMinimumWidth(std::max(bus * kStep + 80, lines * kLineGap + 2 * kStep));
    }
    update();
}

void TFeedSchematic::paintEvent(QPaintEvent*) {
    if (!Own) return;
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    painter.setPen(palette().text().color());
    const TNetwork& n = *Network;
    // Along the bus: the transmitter, its node tx, then the phase nodes n1, n2... from the
    // leading one down the chain of L-networks.
    std::vector<int> x(n.Nodes.size(), -1);
    int next = 70;
    const auto place = [&](std::size_t i) {
        x[i] = next;
        next += kStep;
    };
    place(static_cast<std::size_t>(n.TransmitterNode));
    for (std::size_t i = 0; i < n.Nodes.size(); ++i) {
        if (IsBusNode(n.Nodes[i]) && x[i] < 0) place(i);
    }
    const auto name = [](const TPart& p) { return QString::fromStdString(p.Name); };
    const auto label = [&](const TPart& p, int cx, int cy) {
        painter.drawText(QRect(cx - 40, cy, 80, 16), Qt::AlignCenter, name(p));
    };
    // The transmitter: a source in a circle with its resistance to the first bus node.
    const TPart& source = n.Parts[static_cast<std::size_t>(n.Source)];
    const int txX = x[static_cast<std::size_t>(n.TransmitterNode)];
    painter.drawEllipse(QPoint(16, kBusY), 10, 10);
    painter.drawText(QRect(6, kBusY - 8, 20, 16), Qt::AlignCenter, QStringLiteral("~"));
    painter.drawLine(16, kBusY + 10, 16, kBusY + 30);
    painter.drawLine(10, kBusY + 30, 22, kBusY + 30);
    painter.drawRect(30, kBusY - 5, 20, 10);
    painter.drawLine(26, kBusY, 30, kBusY);
    if (txX > 0) painter.drawLine(50, kBusY, txX, kBusY);
    label(n.Parts[static_cast<std::size_t>(n.SourceResistor)], 40, kBusY - 24);
    label(source, 16, kBusY + 32);
    int lineSlot = 0;
    for (const TPart& p : n.Parts) {
        if (p.Kind == TPartKind::Source ||
            &p == &n.Parts[static_cast<std::size_t>(n.SourceResistor)])
            continue;
        const int a = x[static_cast<std::size_t>(p.A)];
        const int b = p.B > 0 ? x[static_cast<std::size_t>(p.B)] : -1;
        if (p.Kind == TPartKind::Line) {
            // The line drops from its node to its emitter, drawn as a monopole.
            const int ex = 70 + kStep / 2 + (lineSlot++) * kLineGap;  // right of the match
            const int top = kBusY + kDrop;
            painter.drawLine(a, kBusY, ex, top);
            painter.drawLine(ex - 3, top, ex - 3, top + 30);
            painter.drawLine(ex + 3, top, ex + 3, top + 30);
            painter.drawLine(ex, top + 30, ex, top + 60);
            painter.drawLine(ex - 8, top + 60, ex + 8, top + 60);
            const double deg = LineRadians(p, Hz) * 180 / std::numbers::pi;
            painter.drawText(QRect(ex - 28, top + 62, 56, 16), Qt::AlignCenter,
                             name(p) + QStringLiteral(" %1°").arg(std::lround(deg)));
        } else if (b > 0 && a > 0) {
            // A series part along the bus.
            const int mid = (a + b) / 2;
            painter.drawLine(std::min(a, b), kBusY, mid - 12, kBusY);
            painter.drawLine(mid + 12, kBusY, std::max(a, b), kBusY);
            painter.drawRect(mid - 12, kBusY - 6, 24, 12);
            label(p, mid, kBusY - 24);
        } else if (a > 0) {
            // A shunt part from its node to ground, beside the lines' drop.
            const int sx = a + 18;
            painter.drawLine(a, kBusY, sx, kBusY);
            painter.drawLine(sx, kBusY, sx, kBusY + 14);
            painter.drawRect(sx - 6, kBusY + 14, 12, 24);
            painter.drawLine(sx, kBusY + 38, sx, kBusY + 48);
            painter.drawLine(sx - 6, kBusY + 48, sx + 6, kBusY + 48);
            painter.drawText(QRect(sx + 8, kBusY + 18, 40, 16), Qt::AlignLeft, name(p));
        }
    }
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (x[i] < 0) continue;
        painter.setBrush(palette().text());
        painter.drawEllipse(QPoint(x[i], kBusY), 3, 3);
        painter.setBrush(Qt::NoBrush);
        painter.drawText(QRect(x[i] - 20, kBusY + 6, 40, 14), Qt::AlignCenter,
                         QString::fromStdString(n.Nodes[i]));
    }
}
