#include "studio/warningspanel.h"

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
    QString text =
        validity.Modes.empty() ? QString() : QString::fromStdString(ValidityModesText(validity));
    if (!text.isEmpty()) text[0] = text[0].toUpper();
    const qsizetype facts = text.size();
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
        text += (text.isEmpty() ? "" : "\n") + QStringLiteral("⚠ ") + who +
                QString::fromStdString(w.Text);
    }
    for (const TValidityRule& rule : validity.Rules)
        if (!rule.Emitters.empty())
            text += (text.isEmpty() ? "" : "\n") + QStringLiteral("⚠ ") +
                    QString::fromStdString(ValidityWarning(rule));
    Plain = text;
    QString html = text.left(facts).toHtmlEscaped();
    if (text.size() > facts) {
        const QString warned = text.mid(facts).trimmed().toHtmlEscaped();
        html += (html.isEmpty() ? QString() : QStringLiteral("<br>")) +
                QStringLiteral("<span style=\"color:#a00000\">") + warned +
                QStringLiteral("</span>");
    }
    html.replace('\n', QStringLiteral("<br>"));
    setText(html);
    setVisible(!text.isEmpty());
}
