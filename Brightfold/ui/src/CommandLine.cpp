#include <Brightfold/FileURL.h>
#include <Brightfold/Manual/References.h>
#include <Brightfold/Ui/ApplicationSetup.h>
#include <Brightfold/Ui/CommandLine.h>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>

namespace brightfold::ui {
namespace {

std::filesystem::path pathOf(const QString& argument) {
    if (argument.startsWith(QStringLiteral("file:"), Qt::CaseInsensitive)) {
        if (auto path = parseFileURL(argument.toStdString())) {
            return *path;
        }
    }
    const QString absolute = QDir::current().absoluteFilePath(argument);
    return std::filesystem::path(QFile::encodeName(absolute).toStdString());
}

CommandLine refusal(const QString& why) {
    CommandLine command;
    command.action = CommandLine::Action::Refuse;
    command.text = why + QStringLiteral("\nTry 'brightfold --help'.\n");
    return command;
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, {});
    const QCommandLineOption view(QStringLiteral("view"), {});
    const QCommandLineOption convert(QStringLiteral("convert"), {});
    parser.addOptions({help, version, view, convert});
    if (!parser.parse(arguments)) {
        return refusal(QStringLiteral("brightfold: ") + parser.errorText());
    }
    CommandLine command;
    if (parser.isSet(help)) {
        command.action = CommandLine::Action::PrintHelp;
        command.text = QString::fromStdString(manual::usageText(manual::appReference()));
        return command;
    }
    if (parser.isSet(version)) {
        command.action = CommandLine::Action::PrintVersion;
        command.text =
            QStringLiteral("Brightfold %1\n").arg(QString::fromLatin1(applicationVersion));
        return command;
    }
    if (parser.isSet(view)) {
        command.mode = OpenMode::View;
    }
    for (const QString& argument : parser.positionalArguments()) {
        command.files.push_back(pathOf(argument));
    }
    if (parser.isSet(convert) && parser.isSet(view)) {
        return refusal(QStringLiteral("brightfold: --convert and --view cannot be combined"));
    }
    // The launcher's "Convert to USDZ" names no file: the window opens to take one.
    if (parser.isSet(convert) && !command.files.empty()) {
        command.action = CommandLine::Action::ConvertWithoutWindow;
    }
    return command;
}

} // namespace brightfold::ui
