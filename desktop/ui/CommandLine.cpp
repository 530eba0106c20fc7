#include "desktop/ui/CommandLine.h"

#include <QCommandLineParser>

#include "desktop/Version.h"

namespace korvana {

std::optional<int> AnswerCommandLine(const QStringList& arguments, std::ostream& out,
                                     std::ostream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Finds, downloads and plays music files, through the MLDonkey core and "
                       "web search engines."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    // Qt's own options are single words after one dash (-style fusion);
    // QApplication reads them later, so only unknown `--` options are ours
    // to report.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.parse(arguments);
    for (const QString& argument : arguments) {
        const QString name = argument.section(QLatin1Char('='), 0, 0);
        if (name.startsWith(QStringLiteral("--")) &&
            parser.unknownOptionNames().contains(name.mid(2))) {
            err << "Unknown option: " << name.toStdString() << '\n';
        }
    }
    // --help-all would list Qt's own options too; ours are all there is.
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        out << parser.helpText().toStdString();
        return 0;
    }
    if (parser.isSet(version)) {
        out << "Korvana MP3 Finder " << kProgramVersion << '\n';
        return 0;
    }
    return std::nullopt;
}

}  // namespace korvana
