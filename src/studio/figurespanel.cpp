#include "studio/figurespanel.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

TFiguresPanel::TFiguresPanel(QWidget* parent) : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    Failure = new QLabel;
    Failure->setWordWrap(true);
    Failure->setStyleSheet(QStringLiteral("color: #a00000"));
    Failure->hide();
    column->addWidget(Failure);
    Grid = new QGridLayout;
    Grid->setVerticalSpacing(1);
    // The values keep their one line each (a null and its depth together); the captions wrap
    // in the room the values leave.
    Grid->setColumnStretch(0, 1);
    column->addLayout(Grid);
    column->addStretch(1);
}

void TFiguresPanel::SetRows(const std::vector<TFigureRow>& rows) {
    // The lines are kept and relabelled: the panel does not flicker while a slider moves.
    while (Lines.size() < rows.size()) {
        auto* caption = new QLabel;
        // A long caption takes a second line rather than push its value out of a narrow panel.
        caption->setWordWrap(true);
        auto* value = new QLabel;
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        // One entry a line: a list reads down its lines, never wrapped mid-entry.
        value->setWordWrap(false);
        const int line = static_cast<int>(Lines.size());
        Grid->addWidget(caption, line, 0, Qt::AlignTop);
        Grid->addWidget(value, line, 1, Qt::AlignTop);
        Lines.emplace_back(caption, value);
    }
    Keys.assign(Lines.size(), QString());
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        auto [caption, value] = Lines[i];
        const bool shown = i < rows.size();
        caption->setVisible(shown);
        value->setVisible(shown);
        if (!shown) continue;
        Keys[i] = QString::fromStdString(rows[i].Key);
        caption->setText(QString::fromStdString(rows[i].Caption));
        value->setText(QString::fromStdString(rows[i].Value));
        value->setToolTip(QString::fromStdString(rows[i].Reason));
    }
}

void TFiguresPanel::SetFailure(const QString& text) {
    Failure->setText(text);
    Failure->setVisible(!text.isEmpty());
    if (!text.isEmpty()) SetRows({});
}

QLabel* TFiguresPanel::ValueLabel(const QString& key) const {
    for (std::size_t i = 0; i < Keys.size(); ++i) {
        if (Keys[i] == key) return Lines[i].second;
    }
    return nullptr;
}
