#pragma once

#include <Brightfold/ConversionWorkflow.h>
#include <Brightfold/Ui/ScreenFields.h>
#include <QList>
#include <QObject>
#include <QUrl>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <memory>

namespace brightfold::ui {

// The application state and its operations, as QML sees them. Owns the conversion workflow;
// every property changes together, announced by one signal, whenever the state does.
class AppBridge : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The application creates the one bridge")
    Q_PROPERTY(QString screen READ screen NOTIFY stateChanged)
    Q_PROPERTY(double progress READ progress NOTIFY stateChanged)
    Q_PROPERTY(QString message READ message NOTIFY stateChanged)
    Q_PROPERTY(QString savedFileName READ savedFileName NOTIFY stateChanged)
    Q_PROPERTY(QVariant previewScene READ previewScene NOTIFY stateChanged)

  public:
    AppBridge(std::shared_ptr<ConversionServices> services, QObject* parent = nullptr);
    ~AppBridge() override;

    QString screen() const { return fields_.screen; }
    double progress() const { return fields_.progress; }
    QString message() const { return fields_.message; }
    QString savedFileName() const { return fields_.savedFileName; }
    QVariant previewScene() const;

    const ConversionWorkflow& workflow() const { return *workflow_; }

    // A file chosen in the open panel.
    Q_INVOKABLE void convertFile(const QUrl& file);
    // URLs dropped on the window; always accepted, as the workflow decides per item.
    Q_INVOKABLE bool dropUrls(const QList<QUrl>& urls);
    Q_INVOKABLE void saveConvertedFile();
    Q_INVOKABLE void discardPreview();
    Q_INVOKABLE void resetToIdle();
    // The saved file, handed to the desktop.
    Q_INVOKABLE void openSavedFile() const;
    Q_INVOKABLE void revealSavedFile() const;

  signals:
    void stateChanged();

  private:
    void stateUpdated(const AppState& state);

    ScreenFields fields_;
    std::unique_ptr<ConversionWorkflow> workflow_;
};

} // namespace brightfold::ui
