#include <QApplication>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "app/catalogue.h"
#include "app/version.h"
#include "config/messages.h"
#include "config/numtext.h"
#include "model/msgid.h"
#include "plot/qt/toolkittranslations.h"
#include "studio/studiowindow.h"

namespace {

// What the command line asks of the studio: a language, a file, or only its help or version.
struct TStudioArguments {
    std::optional<TLanguage> Language;
    std::optional<std::string> File;
    bool Help = false;
    bool Version = false;
    std::string Fault;  // an argument it cannot take
};

TStudioArguments ReadArguments(int argc, char** argv) {
    TStudioArguments args;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help") {
            args.Help = true;
        } else if (arg == "--version") {
            args.Version = true;
        } else if (arg == "--lang" || arg.starts_with("--lang=")) {
            const std::string_view name =
                arg == "--lang" ? (i + 1 < argc ? argv[++i] : "") : arg.substr(7);
            args.Language = LanguageNamed(name);
            if (!args.Language) args.Fault = std::string(arg);
        } else if (arg.starts_with("-") || args.File) {
            args.Fault = std::string(arg);
        } else {
            args.File = std::string(arg);
        }
    }
    return args;
}

}  // namespace

int main(int argc, char** argv) {
    const TStudioArguments args = ReadArguments(argc, argv);
    ChooseLanguage(args.Language);
    if (args.Version) {
        std::printf("arraypattern-studio %s\n", ARRAYPATTERN_PACKAGE_VERSION);
        return 0;
    }
    if (args.Help || !args.Fault.empty()) {
        if (!args.Fault.empty()) {
            std::fprintf(stderr, "%s\n", TrFormat("unknown argument %s", {args.Fault}).c_str());
        }
        std::printf("%s\n", TrFormat("Usage: %s [--lang ru|en] [FILE]\n\n"
                                     "The antenna array studio: edit the array live, with its "
                                     "dB charts and every figure.\n\n"
                                     "  FILE        a configuration file to open\n"
                                     "  --lang      the language of the texts, the locale's "
                                     "otherwise\n"
                                     "  --help      this text\n"
                                     "  --version   the program's version",
                                     {"arraypattern-studio"})
                                .c_str());
        return args.Fault.empty() ? 0 : 2;
    }
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(ARRAYPATTERN_STUDIO_ID));
    QCoreApplication::setOrganizationName(QStringLiteral("arraypattern"));
    QCoreApplication::setApplicationName(QStringLiteral("arraypattern-studio"));
    // Qt's own dialogs and buttons speak the language the studio's texts are in.
    InstallToolkitTranslations(app, MessageLanguage() == TLanguage::Russian
                                        ? QLocale(QLocale::Russian, QLocale::Russia)
                                        : QLocale(QLocale::English, QLocale::UnitedStates));
    SetDecimalMark(LocaleDecimalMark());
    TStudioWindow window;
    if (args.File) window.Open(QString::fromLocal8Bit(args.File->c_str()));
    // On the whole screen unless the user's last arrangement says otherwise.
    if (!window.RestoredGeometry()) window.FitScreen();
    window.show();
    return app.exec();
}
