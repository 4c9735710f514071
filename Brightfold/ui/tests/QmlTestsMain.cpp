#include <Brightfold/Ui/ApplicationSetup.h>
#include <QGuiApplication>
#include <QObject>
#include <QQmlEngine>
#include <QtQml/qqmlextensionplugin.h>
#include <QtQuickTest>

Q_IMPORT_QML_PLUGIN(Brightfold_UiPlugin)
Q_IMPORT_QML_PLUGIN(Brightfold_PreviewPlugin)

// The screens are tested on the same graphics set-up and style as the application.
class ApplicationLikeSetup : public QObject {
    Q_OBJECT

  public:
    ApplicationLikeSetup() { brightfold::ui::prepareGraphicsBeforeApplication(); }

  public slots:
    void applicationAvailable() {
        brightfold::ui::prepareApplication(*qobject_cast<QGuiApplication*>(qApp));
    }
    void qmlEngineAvailable(QQmlEngine* engine) { brightfold::ui::prepareEngine(*engine); }
};

QUICK_TEST_MAIN_WITH_SETUP(BrightfoldUi, ApplicationLikeSetup)

#include "QmlTestsMain.moc"
