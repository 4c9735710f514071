#pragma once

#include <Brightfold/MainQueue.h>

class QObject;

namespace brightfold::ui {

// Posts each closure as a queued call to `mainThreadObject`, so it runs on that object's
// thread (the GUI thread) in a later turn of the event loop. The object must outlive every
// post; the application object does.
MainQueuePoster makeQtMainQueuePoster(QObject* mainThreadObject);

} // namespace brightfold::ui
