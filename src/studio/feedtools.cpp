#include "studio/feedtools.h"

#include <QFileDialog>
#include <QTimer>
#include <cmath>

#include "app/feedcase.h"
#include "config/filecontent.h"
#include "config/inifile.h"
#include "config/messages.h"
#include "config/netlist.h"
#include "config/safefile.h"
#include "model/msgid.h"
#include "studio/feedpanel.h"
#include "studio/studiostate.h"

namespace {

// A design misses when any current is further than this from the wanted one, as `design`
// holds it.
constexpr double kMostErrorDb = 0.5;
constexpr double kMostErrorDeg = 5;
constexpr int kSweepSteps = 41;
constexpr long double kSweepSpan = 0.03L;  // either side of the design frequency

QString Text(const char* msgid) {
    return QString::fromUtf8(Tr(msgid));
}

struct TMiss {
    double Db = 0;
    double Deg = 0;
};

TMiss WorstOf(const TFeedFigures& f) {
    TMiss w;
    for (const TFeedEmitter& e : f.Emitters) {
        w.Db = std::max(w.Db, std::abs(e.ErrorDb.value_or(0)));
        w.Deg = std::max(w.Deg, std::abs(e.ErrorDeg.value_or(0)));
    }
    return w;
}

}  // namespace

TFeedTools::TFeedTools(TStudioState& state, TFeedPanel& panel, QObject* parent)
    : QObject(parent), State(state), Panel(panel) {
    SweepTimer = new QTimer(this);
    SweepTimer->setSingleShot(true);
    SweepTimer->setInterval(150);
    connect(SweepTimer, &QTimer::timeout, this, &TFeedTools::RefreshSweep);
    connect(&State, &TStudioState::Changed, this, &TFeedTools::Refresh);
    connect(&Panel, &TFeedPanel::DesignAsked, this, &TFeedTools::Design);
    connect(&Panel, &TFeedPanel::PartEdited, this, &TFeedTools::EditPart);
    connect(&Panel, &TFeedPanel::RemoveAsked, this,
            [this] { State.SetNetwork(Text(Msgid("Remove the feed network")), nullptr); });
    connect(&Panel, &TFeedPanel::OpenAsked, this, [this] {
        const QString name = QFileDialog::getOpenFileName(&Panel, Text(Msgid("Open a netlist")), {},
                                                          QStringLiteral("*.net *.cir *.sp"));
        if (!name.isEmpty()) OpenNetlist(name);
    });
    connect(&Panel, &TFeedPanel::SaveAsked, this, [this] {
        const QString name = QFileDialog::getSaveFileName(&Panel, Text(Msgid("Save the netlist")),
                                                          {}, QStringLiteral("*.net"));
        if (!name.isEmpty()) SaveNetlist(name);
    });
    Refresh();
}

double TFeedTools::DesignHz() const {
    return static_cast<double>(DesignFrequencyMhz(State.Document())) * 1e6;
}

bool TFeedTools::Design(const TFeedDesignRequest& asked) {
    const TStudioDocument& d = State.Document();
    // The currents wanted are the document's own: the array analysed without any network.
    const TArrayCase arrayCase = CaseOf(d, std::nullopt);
    const TAnalysisOutcome alone = Analyse(arrayCase);
    if (!alone.Result || !alone.Result->Wires.Solved) {
        Panel.SetStatus(Text(Msgid("A feed network needs wires: give the emitters lengths.")));
        return false;
    }
    const TCoupling& c = alone.Result->Wires.Solved->Coupling;
    const auto wanted = WantedCurrents(c, arrayCase.Wires.Feed);
    if (!wanted) {
        Panel.SetStatus(
            Text(Msgid("A feed network delivers currents: feed the wires by current.")));
        return false;
    }
    TFeedDesignRequest request = asked;
    request.FrequencyMhz = DesignHz() / 1e6;
    request.Title = "* feed designed in the studio at " +
                    QString::number(request.FrequencyMhz, 'g', 12).toStdString() + " MHz";
    const TFeedDesign design = DesignFeed(c, *wanted, request);
    if (design.Refusal) {
        Panel.SetStatus(QString::fromStdString(*design.Refusal));
        return false;
    }
    // The most compact network that delivers the currents at the design frequency.
    const double hz = DesignHz();
    for (const TNetwork& n : design.Networks) {
        const TMiss miss = WorstOf(SolveFeed(n, c, hz, hz, wanted));
        if (miss.Db <= kMostErrorDb && miss.Deg <= kMostErrorDeg) {
            State.SetNetwork(Text(Msgid("Design the feed")), std::make_shared<const TNetwork>(n));
            return true;
        }
    }
    const TMiss first = design.Networks.empty()
                            ? TMiss{}
                            : WorstOf(SolveFeed(design.Networks[0], c, hz, hz, wanted));
    Panel.SetStatus(QString::fromStdString(
        TrFormat("the network misses the wanted currents: worst error %s dB, %s deg",
                 {QString::number(first.Db, 'f', 2).toStdString(),
                  QString::number(first.Deg, 'f', 2).toStdString()})));
    return false;
}

void TFeedTools::EditPart(int part, double shownValue) {
    const auto& now = State.Network();
    if (!now || part < 0 || part >= static_cast<int>(now->Parts.size()) || !(shownValue > 0)) {
        Refresh();
        return;
    }
    auto changed = std::make_shared<TNetwork>(*now);
    TPart& p = changed->Parts[static_cast<std::size_t>(part)];
    SetShownValue(p, shownValue, DesignHz());
    State.SetNetwork(QString::fromStdString(TrFormat("Change %s", {p.Name})), changed);
}

bool TFeedTools::OpenNetlist(const QString& fileName) {
    const std::string path = fileName.toStdString();
    const TFileContent content = ReadFileContent(path, TIniFile::kMaxFileSize, TFileKinds::Any);
    if (content.Errno != 0) {
        Panel.SetStatus(QString::fromStdString(
            TrFormat("cannot read %s: %s", {path, SystemErrorText(content.Errno)})));
        return false;
    }
    try {
        auto network = std::make_shared<const TNetwork>(ReadNetlist(content.Text));
        State.SetNetwork(Text(Msgid("Open a netlist")), std::move(network));
        return true;
    } catch (const ENetlistError& e) {
        Panel.SetStatus(QString::fromStdString(
            TrFormat("%s:%s: %s", {path, std::to_string(e.Line), e.what()})));
        return false;
    }
}

bool TFeedTools::SaveNetlist(const QString& fileName) {
    if (!State.Network()) return false;
    const std::string path = fileName.toStdString();
    const TFileWriteResult written = ReplaceFileContents(path, NetlistText(*State.Network()));
    if (!written.Ok()) {
        Panel.SetStatus(QString::fromStdString(
            TrFormat("cannot write %s: %s", {path, SystemErrorText(written.Errno)})));
    }
    return written.Ok();
}

void TFeedTools::Refresh() {
    Panel.SetNetwork(State.Network(), DesignHz());
    if (!State.Network()) {
        Panel.SetStatus({});
        Panel.SetSweep({});
        return;
    }
    const auto& result = State.Result();
    if (!result) {
        Panel.SetStatus(QString::fromStdString(State.Error()));
    } else if (!result->Network) {
        Panel.SetStatus(Text(Msgid("A feed network needs wires: give the emitters lengths.")));
    } else {
        const TFeedFigures& f = *result->Network;
        const TMiss miss = WorstOf(f);
        Panel.SetStatus(QString::fromStdString(
            TrFormat("transmitter SWR %s; worst current error %s dB, %s deg; loss %s W",
                     {f.TransmitterSwr ? QString::number(*f.TransmitterSwr, 'f', 2).toStdString()
                                       : std::string(Tr("none")),
                      QString::number(miss.Db, 'f', 2).toStdString(),
                      QString::number(miss.Deg, 'f', 2).toStdString(),
                      // A lossless network's loss is rounding noise about 0.
                      QString::number(std::abs(f.LossPower) < 5e-5 ? 0.0 : f.LossPower, 'f', 4)
                          .toStdString()})));
    }
    SweepTimer->start();
}

void TFeedTools::RefreshSweep() {
    SweepTimer->stop();
    if (!State.Network() || !HasWires(State.Document())) {
        Panel.SetSweep({});
        return;
    }
    try {
        Panel.SetSweep(SweepFeed(CaseOf(State.Document(), std::nullopt), *State.Network(),
                                 DesignFrequencyMhz(State.Document()), kSweepSpan, kSweepSteps));
    } catch (const std::exception&) {
        // A step the wires cannot take leaves no band to show.
        Panel.SetSweep({});
    }
}
