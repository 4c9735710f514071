#include "QuickObjectFactory.h"

#include <QMetaProperty>
#include <QQmlEngine>
#include <QQmlListReference>
#include <QtQuick3D/QQuick3DObject>
#include <stdexcept>

namespace brightfold::preview {
namespace {

QByteArray sourceFor(QuickObjectFactory::Kind kind) {
    switch (kind) {
    case QuickObjectFactory::Kind::model:
        return "import QtQuick3D\nModel {}\n";
    case QuickObjectFactory::Kind::principledMaterial:
        return "import QtQuick3D\nPrincipledMaterial {}\n";
    case QuickObjectFactory::Kind::texture:
        return "import QtQuick3D\nTexture {}\n";
    case QuickObjectFactory::Kind::skin:
        return "import QtQuick3D\nSkin {}\n";
    case QuickObjectFactory::Kind::directionalLight:
        return "import QtQuick3D\nDirectionalLight {}\n";
    case QuickObjectFactory::Kind::pointLight:
        return "import QtQuick3D\nPointLight {}\n";
    case QuickObjectFactory::Kind::spotLight:
        return "import QtQuick3D\nSpotLight {}\n";
    case QuickObjectFactory::Kind::node:
        break;
    }
    return "import QtQuick3D\nNode {}\n";
}

} // namespace

QuickObjectFactory::QuickObjectFactory(QQmlEngine& engine) : engine_(engine) {}

QuickObjectFactory::~QuickObjectFactory() = default;

QQmlComponent& QuickObjectFactory::componentFor(Kind kind) {
    std::unique_ptr<QQmlComponent>& component = components_[kind];
    if (!component) {
        component = std::make_unique<QQmlComponent>(&engine_);
        component->setData(sourceFor(kind),
                           QUrl(QStringLiteral("qrc:/Brightfold/Preview/generated/object.qml")));
    }
    if (!component->isReady()) {
        throw std::runtime_error("Qt Quick 3D is not available: " +
                                 component->errorString().toStdString());
    }
    return *component;
}

QQuick3DObject* QuickObjectFactory::create(Kind kind, QQuick3DObject& parent) {
    QObject* created = componentFor(kind).createWithInitialProperties(
        {{QStringLiteral("parent"), QVariant::fromValue(static_cast<QObject*>(&parent))}});
    auto* object = qobject_cast<QQuick3DObject*>(created);
    if (!object) {
        delete created;
        throw std::runtime_error("Qt Quick 3D could not make a scene object.");
    }
    object->setParent(&parent);
    return object;
}

bool setEnumProperty(QObject& object, const char* property, const char* valueName) {
    const QMetaObject* type = object.metaObject();
    const int index = type->indexOfProperty(property);
    if (index < 0) {
        return false;
    }
    const QMetaProperty metaProperty = type->property(index);
    bool known = false;
    const int value = metaProperty.enumerator().keyToValue(valueName, &known);
    return known && metaProperty.write(&object, value);
}

bool setObjectProperty(QObject& object, const char* property, QObject* value) {
    return object.setProperty(property, QVariant::fromValue(value));
}

bool appendToListProperty(QObject& object, const char* property, QObject* value) {
    QQmlListReference list(&object, property);
    return list.isValid() && list.append(value);
}

} // namespace brightfold::preview
