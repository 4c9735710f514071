#include <Brightfold/ConversionWorkflow.h>
#include <Brightfold/Ui/ConversionWithoutWindow.h>
#include <Brightfold/Ui/QtMainQueue.h>
#include <QEventLoop>
#include <QFile>
#include <variant>

namespace brightfold::ui {
namespace {

QString nameOf(const std::filesystem::path& file) {
    return QFile::decodeName(file.filename().c_str());
}

// Runs the event loop until the workflow leaves the state Busy.
template <typename Busy> void waitWhile(ConversionWorkflow& workflow, QEventLoop& loop) {
    while (std::holds_alternative<Busy>(workflow.state())) {
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    }
}

BesideResult convertOne(const std::filesystem::path& file, ConversionWorkflow& workflow) {
    BesideResult result;
    result.source = file;
    QEventLoop loop;
    workflow.startConversion(file);
    waitWhile<Converting>(workflow, loop);
    if (const auto* preview = std::get_if<Preview>(&workflow.state())) {
        result.noteCount = preview->notes.size();
        workflow.saveConvertedFile(preview->tempURL, preview->originalURL);
    }
    if (const auto* success = std::get_if<Success>(&workflow.state())) {
        result.converted = true;
        result.package = success->fileURL;
    } else if (const auto* error = std::get_if<Error>(&workflow.state())) {
        result.failure = error->message;
    }
    workflow.resetToIdle();
    return result;
}

QString notesPhrase(std::size_t count) {
    if (count == 0) {
        return QStringLiteral("nothing left out");
    }
    return (count == 1 ? QStringLiteral("1 note") : QStringLiteral("%1 notes").arg(count)) +
           QStringLiteral(" on what it leaves out or approximates");
}

NotificationText aboutOne(const BesideResult& result) {
    if (result.converted) {
        return {QStringLiteral("%1 is ready").arg(nameOf(result.package)),
                QStringLiteral("Saved beside %1, %2.")
                    .arg(nameOf(result.source), notesPhrase(result.noteCount))};
    }
    return {QStringLiteral("%1 could not be converted").arg(nameOf(result.source)),
            QString::fromStdString(result.failure)};
}

} // namespace

std::vector<BesideResult> convertBeside(const std::vector<std::filesystem::path>& files,
                                        std::shared_ptr<ConversionServices> services,
                                        QObject* mainThreadObject) {
    ConversionWorkflow workflow(std::move(services), makeQtMainQueuePoster(mainThreadObject));
    std::vector<BesideResult> results;
    for (const std::filesystem::path& file : files) {
        results.push_back(convertOne(file, workflow));
    }
    return results;
}

NotificationText notificationFor(const std::vector<BesideResult>& results) {
    if (results.size() == 1) {
        return aboutOne(results.front());
    }
    std::size_t converted = 0;
    QStringList lines;
    for (const BesideResult& result : results) {
        converted += result.converted ? 1 : 0;
        lines << (result.converted ? QStringLiteral("%1: %2.").arg(nameOf(result.source),
                                                                   notesPhrase(result.noteCount))
                                   : QStringLiteral("%1 failed.").arg(nameOf(result.source)));
    }
    return {QStringLiteral("%1 of %2 models converted to USDZ").arg(converted).arg(results.size()),
            lines.join(QLatin1Char('\n'))};
}

} // namespace brightfold::ui
