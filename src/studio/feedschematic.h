#pragma once

#include <QWidget>
#include <memory>

#include "model/network.h"

// The schematic of a network of the program's own layout: the transmitter, the match, the
// L-networks along the phase nodes and the lines hanging from them down to the emitters.
// A netlist of another layout draws nothing: its parts table says it all.
class TFeedSchematic : public QWidget {
    Q_OBJECT

  public:
    explicit TFeedSchematic(QWidget* parent = nullptr);

    // The network to draw, with the electrical length of its lines at hz.
    void SetNetwork(std::shared_ptr<const TNetwork> network, double hz);
    // Whether the network is of the program's own layout, and so drawn.
    bool Drawn() const { return Own; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::shared_ptr<const TNetwork> Network;
    double Hz = 0;
    bool Own = false;
};

// Whether a network has the program's own layout: source VTX, resistance RTX, the match MS
// and MP, the L-networks Sn and Pn, lines TEk onto the emitters' ports.
bool IsOwnLayout(const TNetwork& network);
