#pragma once

class QFileDialog;

// Widens the detail columns of Qt's own file dialog to their heads and to the widest size, type
// and date texts its files can show, then widens the dialog so that all columns show at once.
void FitFileDialogToColumns(QFileDialog& dialog);
