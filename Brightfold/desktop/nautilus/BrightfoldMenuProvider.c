/* "Convert to USDZ" on the context menu of GNOME Files for the models Brightfold converts:
 * runs `brightfold --convert FILE...`, which saves each package beside its model and tells the
 * result in a desktop notification. Files the menu would not convert (other types, files not on
 * a local disk) get no item, and neither does a selection mixing them with models. */
#include <nautilus-extension.h>

#define BRIGHTFOLD_TYPE_MENU_PROVIDER (brightfold_menu_provider_get_type())
G_DECLARE_FINAL_TYPE(BrightfoldMenuProvider, brightfold_menu_provider, BRIGHTFOLD, MENU_PROVIDER,
                     GObject)

struct _BrightfoldMenuProvider {
    GObject parent_instance;
};

static void brightfold_menu_provider_menu_init(NautilusMenuProviderInterface* iface);

G_DEFINE_DYNAMIC_TYPE_EXTENDED(BrightfoldMenuProvider, brightfold_menu_provider, G_TYPE_OBJECT, 0,
                               G_IMPLEMENT_INTERFACE_DYNAMIC(NAUTILUS_TYPE_MENU_PROVIDER,
                                                             brightfold_menu_provider_menu_init))

/* The types the converter reads; a VRM avatar is also a GLB file. */
static const char* const converted_types[] = {"model/gltf+json", "model/gltf-binary", "model/x-vrm",
                                              "model/x-usdc"};

static gboolean is_converted(NautilusFileInfo* file) {
    for (gsize at = 0; at < G_N_ELEMENTS(converted_types); ++at) {
        if (nautilus_file_info_is_mime_type(file, converted_types[at])) {
            return TRUE;
        }
    }
    return FALSE;
}

/* The local paths of the files, or NULL when any of them is not a model on a local disk. */
static char** converted_paths(GList* files) {
    GPtrArray* paths = g_ptr_array_new_with_free_func(g_free);
    for (GList* node = files; node != NULL; node = node->next) {
        NautilusFileInfo* file = NAUTILUS_FILE_INFO(node->data);
        GFile* location = nautilus_file_info_get_location(file);
        char* path = is_converted(file) ? g_file_get_path(location) : NULL;
        g_object_unref(location);
        if (path == NULL) {
            g_ptr_array_free(paths, TRUE);
            return NULL;
        }
        g_ptr_array_add(paths, path);
    }
    if (paths->len == 0) {
        g_ptr_array_free(paths, TRUE);
        return NULL;
    }
    g_ptr_array_set_free_func(paths, NULL);
    g_ptr_array_add(paths, NULL);
    return (char**)g_ptr_array_free(paths, FALSE);
}

static void convert_activated(NautilusMenuItem* item, gpointer user_data) {
    (void)user_data;
    char** paths = g_object_get_data(G_OBJECT(item), "brightfold-paths");
    GPtrArray* command = g_ptr_array_new();
    g_ptr_array_add(command, "brightfold");
    g_ptr_array_add(command, "--convert");
    for (char** path = paths; *path != NULL; ++path) {
        g_ptr_array_add(command, *path);
    }
    g_ptr_array_add(command, NULL);
    GError* error = NULL;
    if (!g_spawn_async(NULL, (char**)command->pdata, NULL, G_SPAWN_SEARCH_PATH, NULL, NULL, NULL,
                       &error)) {
        g_warning("Brightfold could not be started: %s", error->message);
        g_error_free(error);
    }
    g_ptr_array_free(command, TRUE);
}

static GList* brightfold_menu_provider_get_file_items(NautilusMenuProvider* provider,
                                                      GList* files) {
    (void)provider;
    char** paths = converted_paths(files);
    if (paths == NULL) {
        return NULL;
    }
    NautilusMenuItem* item =
        nautilus_menu_item_new("Brightfold::ConvertToUsdz", "Convert to USDZ",
                               "Save a USDZ package beside each model", "brightfold");
    g_object_set_data_full(G_OBJECT(item), "brightfold-paths", paths, (GDestroyNotify)g_strfreev);
    g_signal_connect(item, "activate", G_CALLBACK(convert_activated), NULL);
    return g_list_append(NULL, item);
}

static void brightfold_menu_provider_menu_init(NautilusMenuProviderInterface* iface) {
    iface->get_file_items = brightfold_menu_provider_get_file_items;
}

static void brightfold_menu_provider_init(BrightfoldMenuProvider* self) {
    (void)self;
}

static void brightfold_menu_provider_class_init(BrightfoldMenuProviderClass* klass) {
    (void)klass;
}

static void brightfold_menu_provider_class_finalize(BrightfoldMenuProviderClass* klass) {
    (void)klass;
}

static GType provider_types[1];

void nautilus_module_initialize(GTypeModule* module) {
    brightfold_menu_provider_register_type(module);
    provider_types[0] = BRIGHTFOLD_TYPE_MENU_PROVIDER;
}

void nautilus_module_shutdown(void) {}

void nautilus_module_list_types(const GType** types, int* num_types) {
    *types = provider_types;
    *num_types = G_N_ELEMENTS(provider_types);
}
