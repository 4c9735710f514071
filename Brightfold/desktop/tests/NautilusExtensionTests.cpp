// Loads the GNOME Files extension as the file manager does (a type module whose load() opens
// it) and asks it for the context menu of selections, with file objects of our own.
#include "TestFolder.h"

#include <chrono>
#include <cstdlib>
#include <dlfcn.h>
#include <fstream>
#include <gtest/gtest.h>
#include <nautilus-extension.h>
#include <string>
#include <thread>
#include <vector>

namespace {

// A file as GNOME Files describes it to extensions: where it is and its MIME type.
struct FakeFile {
    GObject parent;
    GFile* location;
    char* mimeType;
};
struct FakeFileClass {
    GObjectClass parent;
};

GType fakeFileType();

FakeFile* asFake(NautilusFileInfo* file) {
    return G_TYPE_CHECK_INSTANCE_CAST(file, fakeFileType(), FakeFile);
}

GFile* fakeLocation(NautilusFileInfo* file) {
    return G_FILE(g_object_ref(asFake(file)->location));
}

gboolean fakeIsMimeType(NautilusFileInfo* file, const char* type) {
    return g_content_type_is_a(asFake(file)->mimeType, type);
}

void fakeFileInfoInit(gpointer interface, gpointer) {
    auto* iface = static_cast<NautilusFileInfoInterface*>(interface);
    iface->get_location = fakeLocation;
    iface->is_mime_type = fakeIsMimeType;
}

void fakeFinalize(GObject* object) {
    auto* file = reinterpret_cast<FakeFile*>(object);
    g_object_unref(file->location);
    g_free(file->mimeType);
    G_OBJECT_CLASS(g_type_class_peek_parent(G_OBJECT_GET_CLASS(object)))->finalize(object);
}

void fakeClassInit(gpointer klass, gpointer) {
    G_OBJECT_CLASS(klass)->finalize = fakeFinalize;
}

GType fakeFileType() {
    static const GType type = [] {
        const GTypeInfo info{
            sizeof(FakeFileClass), nullptr, nullptr, fakeClassInit, nullptr, nullptr,
            sizeof(FakeFile),      0,       nullptr, nullptr};
        const GType made =
            g_type_register_static(G_TYPE_OBJECT, "BrightfoldTestFakeFile", &info, GTypeFlags(0));
        const GInterfaceInfo fileInfo{fakeFileInfoInit, nullptr, nullptr};
        g_type_add_interface_static(made, NAUTILUS_TYPE_FILE_INFO, &fileInfo);
        return made;
    }();
    return type;
}

GObject* fakeFile(GFile* location, const char* mimeType) {
    auto* file = static_cast<FakeFile*>(g_object_new(fakeFileType(), nullptr));
    file->location = location;
    file->mimeType = g_strdup(mimeType);
    return G_OBJECT(file);
}

// The module the extension is loaded through, as GNOME Files makes it.
struct TestModule {
    GTypeModule parent;
};
struct TestModuleClass {
    GTypeModuleClass parent;
};

gboolean loadExtension(GTypeModule* module) {
    void* library = dlopen(BRIGHTFOLD_NAUTILUS_EXTENSION, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        return FALSE;
    }
    auto* initialize =
        reinterpret_cast<void (*)(GTypeModule*)>(dlsym(library, "nautilus_module_initialize"));
    if (!initialize || !dlsym(library, "nautilus_module_list_types") ||
        !dlsym(library, "nautilus_module_shutdown")) {
        return FALSE;
    }
    initialize(module);
    return TRUE;
}

void unloadExtension(GTypeModule*) {}

void moduleClassInit(gpointer klass, gpointer) {
    G_TYPE_MODULE_CLASS(klass)->load = loadExtension;
    G_TYPE_MODULE_CLASS(klass)->unload = unloadExtension;
}

// The extension's menu provider, loaded once per test program.
NautilusMenuProvider* menuProvider() {
    static NautilusMenuProvider* provider = [] {
        const GTypeInfo info{
            sizeof(TestModuleClass), nullptr, nullptr, moduleClassInit, nullptr, nullptr,
            sizeof(TestModule),      0,       nullptr, nullptr};
        const GType moduleType = g_type_register_static(G_TYPE_TYPE_MODULE, "BrightfoldTestModule",
                                                        &info, GTypeFlags(0));
        auto* module = G_TYPE_MODULE(g_object_new(moduleType, nullptr));
        if (!g_type_module_use(module)) {
            return static_cast<NautilusMenuProvider*>(nullptr);
        }
        void* library = dlopen(BRIGHTFOLD_NAUTILUS_EXTENSION, RTLD_NOW | RTLD_NOLOAD);
        auto* listTypes = reinterpret_cast<void (*)(const GType**, int*)>(
            dlsym(library, "nautilus_module_list_types"));
        const GType* types = nullptr;
        int count = 0;
        listTypes(&types, &count);
        return count == 1 ? NAUTILUS_MENU_PROVIDER(g_object_new(types[0], nullptr)) : nullptr;
    }();
    return provider;
}

struct Selection {
    GList* files = nullptr;
    ~Selection() { g_list_free_full(files, g_object_unref); }
    void add(GFile* location, const char* mimeType) {
        files = g_list_append(files, fakeFile(location, mimeType));
    }
    void addPath(const std::string& path, const char* mimeType) {
        add(g_file_new_for_path(path.c_str()), mimeType);
    }
};

std::vector<NautilusMenuItem*> itemsFor(const Selection& selection) {
    GList* items = nautilus_menu_provider_get_file_items(menuProvider(), selection.files);
    std::vector<NautilusMenuItem*> found;
    for (GList* item = items; item != nullptr; item = item->next) {
        found.push_back(NAUTILUS_MENU_ITEM(item->data));
    }
    g_list_free(items);
    return found;
}

std::string labelOf(NautilusMenuItem* item) {
    char* label = nullptr;
    g_object_get(item, "label", &label, nullptr);
    std::string text = label ? label : "";
    g_free(label);
    return text;
}

TEST(NautilusExtension, OffersConversionForModelsOnALocalDisk) {
    ASSERT_NE(menuProvider(), nullptr) << "the extension could not be loaded";
    TestFolder folder;
    const std::string arguments = (folder.path() / "arguments").string();
    // A stand-in for the program, first on the search path, that records how it was run.
    const auto program =
        folder.write("brightfold", "#!/bin/sh\necho \"$@\" > '" + arguments + "'\n");
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    setenv("PATH", (folder.path().string() + ":" + std::getenv("PATH")).c_str(), 1);

    Selection models;
    models.addPath("/models/a.glb", "model/gltf-binary");
    models.addPath("/models/b.vrm", "model/x-vrm");
    models.addPath("/models/c dir/d.gltf", "model/gltf+json");
    models.addPath("/models/e.usdc", "model/x-usdc");
    const std::vector<NautilusMenuItem*> items = itemsFor(models);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(labelOf(items[0]), "Convert to USDZ");
    nautilus_menu_item_activate(items[0]);
    for (int wait = 0; wait < 100 && !std::filesystem::exists(arguments); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // the line is written whole
    std::ifstream recorded(arguments);
    std::string line;
    std::getline(recorded, line);
    EXPECT_EQ(line, "--convert /models/a.glb /models/b.vrm /models/c dir/d.gltf /models/e.usdc");
    g_object_unref(items[0]);
}

TEST(NautilusExtension, OffersNothingForSelectionsItCannotConvertWhole) {
    ASSERT_NE(menuProvider(), nullptr) << "the extension could not be loaded";
    EXPECT_TRUE(itemsFor(Selection{}).empty());
    Selection withPicture;
    withPicture.addPath("/models/a.glb", "model/gltf-binary");
    withPicture.addPath("/models/a.png", "image/png");
    EXPECT_TRUE(itemsFor(withPicture).empty());
    Selection remote;
    remote.add(g_file_new_for_uri("sftp://host/models/a.glb"), "model/gltf-binary");
    EXPECT_TRUE(itemsFor(remote).empty());
    Selection package;
    package.addPath("/models/a.usdz", "model/vnd.usdz+zip");
    EXPECT_TRUE(itemsFor(package).empty());
}

} // namespace
