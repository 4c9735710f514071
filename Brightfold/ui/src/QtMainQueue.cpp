#include <Brightfold/Ui/QtMainQueue.h>
#include <QMetaObject>
#include <QObject>
#include <utility>

namespace brightfold::ui {

MainQueuePoster makeQtMainQueuePoster(QObject* mainThreadObject) {
    return [mainThreadObject](std::function<void()> step) {
        QMetaObject::invokeMethod(mainThreadObject, std::move(step), Qt::QueuedConnection);
    };
}

} // namespace brightfold::ui
