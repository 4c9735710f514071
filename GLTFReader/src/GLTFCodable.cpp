#include <GLTFReader/GLTFCodable.h>

// An extension without scene behaviour of its own only carries data.
void GLTFExtensionValue::onLoaded(const GLTFLoadedObject&, GLTFUnarchiver&) const {}
