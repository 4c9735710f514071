#pragma once

#include <Brightfold/Preview/SoftwareRendering.h>
#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace brightfold::preview {

/// What QML may adapt to the renderer (module "Brightfold.Preview"): `Renderer.software` holds
/// while the windows are drawn on the processor, where every frame takes CPU from the work
/// behind it.
class RendererInfo : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(Renderer)
    QML_SINGLETON
    Q_PROPERTY(bool software READ software CONSTANT)

  public:
    using QObject::QObject;

    bool software() const { return rendersInSoftware(); }
};

} // namespace brightfold::preview
