#include "cli/exportmodule.h"

#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "config/numtext.h"
#include "plot/qtexportpicture.h"

namespace {

// Qt's offscreen platform warns that it has no runtime directory, which the picture does not
// need; everything else Qt reports goes through.
void FilterQtMessage(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtWarningMsg && text.startsWith(QLatin1String("QStandardPaths: "))) return;
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

void CopyError(const std::string& text, char* error, std::size_t errorSize) {
    if (errorSize == 0) return;
    const std::size_t n = std::min(text.size(), errorSize - 1);
    std::memcpy(error, text.data(), n);
    error[n] = '\0';
}

}  // namespace

extern "C" bool ArrayPatternExportPicture(const TExportRequest* request, char* error,
                                          std::size_t errorSize) {
    if (request->Size != sizeof(TExportRequest)) {
        CopyError("The picture export module belongs to another build", error, errorSize);
        return false;
    }
    SetDecimalMark(request->DecimalMark);
    qInstallMessageHandler(FilterQtMessage);
    char program[] = "arraypattern-cli";
    char platformOption[] = "-platform";
    char platform[] = "offscreen";
    char* argv[] = {program, platformOption, platform, nullptr};
    int argc = 3;
    try {
        QGuiApplication app(argc, argv);
        TExportPicture picture;
        picture.Draw(*request->Model, request->ElevationDegrees);
        picture.Save(request->FileName);
    } catch (const std::exception& e) {
        CopyError(e.what(), error, errorSize);
        return false;
    }
    return true;
}
