#include "studio/warningspanel.h"

#include <QStringList>

#include "app/validity.h"
#include "config/messages.h"

TWarningsPanel::TWarningsPanel(QWidget* parent) : QLabel(parent) {
    setWordWrap(true);
    setTextFormat(Qt::RichText);
    // Opaque, so that a changed text repaints only itself and not the window beneath it.
    setAutoFillBackground(true);
    hide();
}

void TWarningsPanel::SetWarnings(const std::vector<TArrayWarning>& warnings,
                                 const TWireValidity& validity) {
    Warnings = warnings;
    // Whether the wires carry enough modes is read beside what may be wrong with them, as a
    // fact in the text's own colour: only what may be wrong is red.
    QString fact =
        validity.Modes.empty() ? QString() : QString::fromStdString(ValidityModesText(validity));
    if (!fact.isEmpty()) fact[0] = fact[0].toUpper();
    QStringList warned;
    for (const TArrayWarning& w : warnings) {
        QString emitters;
        for (const int k : w.Emitters)
            emitters += (emitters.isEmpty() ? "" : ", ") + QString::number(k);
        // A warning about a pair of emitters names them in its own words.
        const QString who =
            w.Kind == TArrayWarningKind::Coincident
                ? QString()
                : QString::fromUtf8(TrFormat("emitters %s", {emitters.toStdString()})) +
                      QStringLiteral(": ");
        warned << QStringLiteral("⚠ ") + who + QString::fromStdString(w.Text);
    }
    for (const TValidityRule& rule : validity.Rules)
        if (!rule.Emitters.empty())
            warned << QStringLiteral("⚠ ") + QString::fromStdString(ValidityWarning(rule));
    QStringList lines, html;
    if (!fact.isEmpty()) {
        lines << fact;
        html << fact.toHtmlEscaped();
    }
    if (!warned.isEmpty()) {
        lines << warned;
        html << QStringLiteral("<span style=\"color:#a00000\">") +
                    warned.join('\n').toHtmlEscaped().replace('\n', QStringLiteral("<br>")) +
                    QStringLiteral("</span>");
    }
    Plain = lines.join('\n');
    setText(html.join(QStringLiteral("<br>")));
    setVisible(!lines.isEmpty());
}
