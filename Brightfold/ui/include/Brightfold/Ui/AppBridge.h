#pragma once

#include <Brightfold/ConversionWorkflow.h>
#include <Brightfold/Ui/ScreenFields.h>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <memory>

namespace brightfold::ui {

// The application state and its operations, as QML sees them. Owns the conversion workflow;
// every property changes together, announced by one signal, whenever the state does. The
// profile of the packages it writes is read from the settings and kept there.
class AppBridge : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The application creates the one bridge")
    Q_PROPERTY(QString screen READ screen NOTIFY stateChanged)
    Q_PROPERTY(double progress READ progress NOTIFY stateChanged)
    Q_PROPERTY(QString message READ message NOTIFY stateChanged)
    Q_PROPERTY(QString savedFileName READ savedFileName NOTIFY stateChanged)
    Q_PROPERTY(QString viewedFileName READ viewedFileName NOTIFY stateChanged)
    Q_PROPERTY(QVariant previewScene READ previewScene NOTIFY stateChanged)
    Q_PROPERTY(QStringList notes READ notes NOTIFY stateChanged)
    // The previewed model's animation clips, and the position of the one its package plays.
    Q_PROPERTY(QStringList animationClips READ animationClips NOTIFY stateChanged)
    Q_PROPERTY(int playedClip READ playedClip NOTIFY stateChanged)
    Q_PROPERTY(bool canSaveElsewhere READ canSaveElsewhere NOTIFY stateChanged)
    // Where the save panel proposes to put a package that could not be saved.
    Q_PROPERTY(QUrl saveElsewhereProposal READ saveElsewhereProposal NOTIFY stateChanged)
    Q_PROPERTY(QString verdict READ verdict NOTIFY stateChanged)
    Q_PROPERTY(bool readyForAR READ readyForAR NOTIFY stateChanged)
    Q_PROPERTY(bool canMakeARReady READ canMakeARReady NOTIFY stateChanged)
    // Packages for USD tools keep lights, curves and everything else AR Quick Look refuses; the
    // choice is remembered between runs.
    Q_PROPERTY(bool forUsdTools READ forUsdTools WRITE setForUsdTools NOTIFY profileChanged)

  public:
    AppBridge(std::shared_ptr<ConversionServices> services, QObject* parent = nullptr);
    ~AppBridge() override;

    QString screen() const { return fields_.screen; }
    double progress() const { return fields_.progress; }
    QString message() const { return fields_.message; }
    QString savedFileName() const { return fields_.savedFileName; }
    QString viewedFileName() const { return fields_.viewedFileName; }
    QVariant previewScene() const;
    QStringList notes() const { return fields_.notes; }
    QStringList animationClips() const { return fields_.animationClips; }
    int playedClip() const { return fields_.playedClip; }
    bool canSaveElsewhere() const { return fields_.canSaveElsewhere; }
    QUrl saveElsewhereProposal() const;
    QString verdict() const { return fields_.verdict; }
    bool readyForAR() const { return fields_.readyForAR; }
    bool canMakeARReady() const { return fields_.canMakeARReady; }
    bool forUsdTools() const;
    void setForUsdTools(bool forUsdTools);

    const ConversionWorkflow& workflow() const { return *workflow_; }

    // Files named when the program started (see ConversionWorkflow::openFiles).
    void openFiles(const std::vector<std::filesystem::path>& files, OpenMode mode);
    // A file chosen in the open panel: converted, or shown when it is a package.
    Q_INVOKABLE void convertFile(const QUrl& file);
    // URLs dropped on the window; always accepted, as the workflow decides per item.
    Q_INVOKABLE bool dropUrls(const QList<QUrl>& urls);
    Q_INVOKABLE void saveConvertedFile();
    Q_INVOKABLE void discardPreview();
    // Converts the previewed model again, its package playing only the clip at `position`
    // among animationClips.
    Q_INVOKABLE void chooseAnimationClip(int position);
    Q_INVOKABLE void resetToIdle();
    // Stops a running conversion and returns to idle.
    Q_INVOKABLE void cancel();
    // Saves a package whose save failed at a destination the user chose.
    Q_INVOKABLE void saveElsewhere(const QUrl& destination);
    // The saved file, handed to the desktop's application for packages; shown here when
    // the desktop has none but this one, or cannot start it.
    Q_INVOKABLE void openSavedFile();
    Q_INVOKABLE void revealSavedFile() const;
    // Converts the package being viewed, to be saved beside it as NAME-ar.usdz.
    Q_INVOKABLE void makeARReady();

  signals:
    void stateChanged();
    void profileChanged();

  private:
    void stateUpdated(const AppState& state);

    ScreenFields fields_;
    std::unique_ptr<ConversionWorkflow> workflow_;
};

} // namespace brightfold::ui
