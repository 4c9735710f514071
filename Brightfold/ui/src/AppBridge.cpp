#include <Brightfold/Ui/AppBridge.h>
#include <Brightfold/Ui/FileHandoff.h>
#include <Brightfold/Ui/QtMainQueue.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <string>
#include <vector>

namespace brightfold::ui {
namespace {

std::filesystem::path toPath(const QUrl& file) {
    return std::filesystem::path(QFile::encodeName(file.toLocalFile()).toStdString());
}

QString toLocalPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

// Where the profile chosen in the menu is kept between runs: "ar" or "usd".
const QString profileKey = QStringLiteral("conversion/profile");

ConversionOptions rememberedOptions() {
    ConversionOptions options;
    if (QSettings().value(profileKey).toString() == QLatin1String("usd")) {
        options.profile = ConversionOptions::Profile::usd;
    }
    return options;
}

// A dropped URL offers its text the way a desktop drop offers a URI-list entry.
DroppedItemProvider providerFor(const QUrl& url) {
    const QByteArray encoded = url.toEncoded();
    return [bytes = std::vector<std::uint8_t>(encoded.begin(), encoded.end())](
               const std::function<void(DropData)>& reply) { reply(bytes); };
}

} // namespace

AppBridge::AppBridge(std::shared_ptr<ConversionServices> services, QObject* parent)
    : QObject(parent), fields_(screenFieldsFor(Idle{})),
      workflow_(std::make_unique<ConversionWorkflow>(
          std::move(services), makeQtMainQueuePoster(QCoreApplication::instance()),
          [this](const AppState& state) { stateUpdated(state); })) {
    workflow_->setConversionOptions(rememberedOptions());
}

AppBridge::~AppBridge() = default;

QVariant AppBridge::previewScene() const {
    return QVariant::fromValue(fields_.previewScene);
}

QUrl AppBridge::saveElsewhereProposal() const {
    const auto* error = std::get_if<Error>(&workflow_->state());
    if (error == nullptr || !error->unsaved) {
        return {};
    }
    const std::filesystem::path proposal = error->unsaved->intendedDestination;
    const QString folder = toLocalPath(proposal.parent_path());
    const bool folderExists = !folder.isEmpty() && QFileInfo(folder).isDir();
    return QUrl::fromLocalFile(
        QDir(folderExists ? folder : QDir::homePath()).filePath(toLocalPath(proposal.filename())));
}

bool AppBridge::forUsdTools() const {
    return workflow_->conversionOptions().profile == ConversionOptions::Profile::usd;
}

void AppBridge::setForUsdTools(bool forUsdTools) {
    if (forUsdTools == this->forUsdTools()) {
        return;
    }
    ConversionOptions options = workflow_->conversionOptions();
    options.profile =
        forUsdTools ? ConversionOptions::Profile::usd : ConversionOptions::Profile::ar;
    workflow_->setConversionOptions(options);
    QSettings().setValue(profileKey, forUsdTools ? QStringLiteral("usd") : QStringLiteral("ar"));
    emit profileChanged();
}

void AppBridge::openFiles(const std::vector<std::filesystem::path>& files, OpenMode mode) {
    workflow_->openFiles(files, mode);
}

void AppBridge::convertFile(const QUrl& file) {
    if (file.isLocalFile()) {
        workflow_->openFiles({toPath(file)});
    }
}

bool AppBridge::dropUrls(const QList<QUrl>& urls) {
    std::vector<DroppedItemProvider> items;
    for (const QUrl& url : urls) {
        items.push_back(providerFor(url));
    }
    return workflow_->handleDroppedItems(items);
}

void AppBridge::saveConvertedFile() {
    if (const auto* preview = std::get_if<Preview>(&workflow_->state())) {
        workflow_->saveConvertedFile(preview->tempURL, preview->originalURL);
    }
}

void AppBridge::discardPreview() {
    if (const auto* preview = std::get_if<Preview>(&workflow_->state())) {
        workflow_->discardPreview(preview->tempURL);
    }
}

void AppBridge::chooseAnimationClip(int position) {
    const auto* preview = std::get_if<Preview>(&workflow_->state());
    if (preview != nullptr && position >= 0 &&
        static_cast<std::size_t>(position) < preview->clips.all.size()) {
        workflow_->convertWithClip(preview->clips.all[static_cast<std::size_t>(position)]);
    }
}

void AppBridge::resetToIdle() {
    workflow_->resetToIdle();
}

void AppBridge::cancel() {
    workflow_->cancel();
}

void AppBridge::saveElsewhere(const QUrl& destination) {
    const auto* error = std::get_if<Error>(&workflow_->state());
    if (error != nullptr && error->unsaved && destination.isLocalFile()) {
        const std::filesystem::path package = error->unsaved->tempURL;
        workflow_->saveConvertedFileAs(package, toPath(destination));
    }
}

void AppBridge::openSavedFile() {
    const auto* success = std::get_if<Success>(&workflow_->state());
    if (success == nullptr) {
        return;
    }
    const std::filesystem::path file = success->fileURL;
    if (!openWithOtherApplication(toLocalPath(file))) {
        workflow_->openFiles({file}, OpenMode::View);
    }
}

void AppBridge::revealSavedFile() const {
    if (const auto* success = std::get_if<Success>(&workflow_->state())) {
        revealInFileManager(toLocalPath(success->fileURL));
    }
}

// Whatever the menu's profile, this conversion is for AR Quick Look.
void AppBridge::makeARReady() {
    const auto* viewing = std::get_if<Viewing>(&workflow_->state());
    if (viewing == nullptr || !fields_.canMakeARReady) {
        return;
    }
    const ConversionOptions chosen = workflow_->conversionOptions();
    ConversionOptions forAR = chosen;
    forAR.profile = ConversionOptions::Profile::ar;
    workflow_->setConversionOptions(forAR);
    workflow_->startConversion(std::filesystem::path(viewing->fileURL));
    workflow_->setConversionOptions(chosen);
}

void AppBridge::stateUpdated(const AppState& state) {
    fields_ = screenFieldsFor(state);
    emit stateChanged();
}

} // namespace brightfold::ui
