#pragma once

#include <QObject>
#include <QString>

#include "app/feeddesign.h"

class QTimer;
class TFeedPanel;
class TStudioState;

// The Feed panel's actions on the studio's state: a network designed from the solved array,
// opened or saved as a netlist, a part's value changed; each change one undo step, the array
// then analysed through the network. The band's sweep follows once the document rests.
class TFeedTools : public QObject {
    Q_OBJECT

  public:
    TFeedTools(TStudioState& state, TFeedPanel& panel, QObject* parent = nullptr);

    // False, with the reason on the panel, where no network delivers the currents.
    bool Design(const TFeedDesignRequest& request);
    void EditPart(int part, double shownValue);
    bool OpenNetlist(const QString& fileName);
    bool SaveNetlist(const QString& fileName);
    // The panel's table, schematic and band for the state as it is now.
    void Refresh();
    void RefreshSweep();

  private:
    double DesignHz() const;

    TStudioState& State;
    TFeedPanel& Panel;
    QTimer* SweepTimer = nullptr;
};
