#pragma once

#include <QQuickItem>
#include <QStringList>
#include <QVariant>
#include <SceneGraph/Scene.h>
#include <memory>

Q_DECLARE_METATYPE(std::shared_ptr<scene::Scene>)

namespace brightfold::preview {

/// The interactive 3D preview: shows a scene over a transparent background with an orbit
/// camera that frames the model, a default light (or the scene's own lights), and the scene's
/// animations playing in a loop.
///
/// QML (module "Brightfold.Preview"):
///
///     import Brightfold.Preview
///     TransparentSceneView { scene: someSceneVariant }
///
/// where the variant holds a `std::shared_ptr<scene::Scene>`
/// (`QVariant::fromValue(std::shared_ptr<scene::Scene>(…))`). From C++, call `setScene`.
/// Setting a new scene replaces everything shown and reframes the camera; an empty variant or
/// null pointer clears the view. The item keeps the scene alive while it shows it and never
/// changes it (animations play on a private copy).
///
/// Input: left drag orbits, right or middle drag (or Shift + left drag) pans, the mouse wheel
/// and a pinch zoom, a two-finger trackpad scroll pans.
///
/// Parts of the scene that cannot be shown (an undecodable image, a broken mesh) are left out
/// and described in `problems`, one sentence each, so the screen can say what is missing.
///
/// Programs showing it call the functions of RenderingSetup.h around creating their
/// application object.
///
/// Programs that link the static library also link its QML plugin target
/// (BrightfoldPreviewplugin) and write `Q_IMPORT_QML_PLUGIN(Brightfold_PreviewPlugin)` once.
class TransparentSceneView : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QVariant scene READ sceneVariant WRITE setSceneVariant NOTIFY sceneChanged)
    Q_PROPERTY(QStringList problems READ problems NOTIFY problemsChanged)

  public:
    explicit TransparentSceneView(QQuickItem* parent = nullptr);
    ~TransparentSceneView() override;

    const std::shared_ptr<scene::Scene>& scene() const { return scene_; }
    void setScene(std::shared_ptr<scene::Scene> scene);

    QVariant sceneVariant() const;
    void setSceneVariant(const QVariant& scene);

    QStringList problems() const { return problems_; }

    /// Pointer input from the viewport's handlers, in item pixels.
    Q_INVOKABLE void orbitBy(qreal dx, qreal dy);
    Q_INVOKABLE void panBy(qreal dx, qreal dy);
    /// Factors above 1 move the camera closer.
    Q_INVOKABLE void zoomBy(qreal factor);

    /// Stops the animations and shows the scene as they leave it `seconds` into their loop
    /// (a still of one moment); setting a scene plays again from its first frame.
    Q_INVOKABLE void showAnimationsAt(qreal seconds);

  signals:
    void sceneChanged();
    void problemsChanged();

  protected:
    void componentComplete() override;
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;

  private:
    struct Viewer;

    void showScene();
    void showCamera();
    void advanceAnimations();
    void setProblems(QStringList problems);

    std::shared_ptr<scene::Scene> scene_;
    std::unique_ptr<Viewer> viewer_;
    QStringList problems_;
};

} // namespace brightfold::preview
