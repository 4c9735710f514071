#pragma once

#include <QObject>
#include <QQmlComponent>
#include <QString>
#include <map>
#include <memory>

class QQmlEngine;
class QQuick3DObject;

namespace brightfold::preview {

/// Makes Qt Quick 3D objects (nodes, models, materials, textures, skins, lights) from C++ through
/// QML components, the only public route to those types. Each object is attached to its 3D
/// parent and owned by it.
class QuickObjectFactory {
  public:
    enum class Kind {
        node,
        model,
        principledMaterial,
        texture,
        skin,
        directionalLight,
        pointLight,
        spotLight
    };

    explicit QuickObjectFactory(QQmlEngine& engine);
    ~QuickObjectFactory();

    /// Fails with std::runtime_error when the Qt Quick 3D module cannot be loaded.
    QQuick3DObject* create(Kind kind, QQuick3DObject& parent);

  private:
    QQmlComponent& componentFor(Kind kind);

    QQmlEngine& engine_;
    std::map<Kind, std::unique_ptr<QQmlComponent>> components_;
};

/// Sets an enumeration property by the name of its value ("Blend", "NoCulling" …), so no
/// numeric value of a private header is relied on. Returns false when the object has no such
/// property or the property no such value.
bool setEnumProperty(QObject& object, const char* property, const char* valueName);

/// Sets a property holding a 3D object (a texture, a geometry, a skin …).
bool setObjectProperty(QObject& object, const char* property, QObject* value);

/// Appends `value` to a list property (materials, joints …).
bool appendToListProperty(QObject& object, const char* property, QObject* value);

} // namespace brightfold::preview
