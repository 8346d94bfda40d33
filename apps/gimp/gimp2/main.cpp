// The GIMP 2.10 plug-in program: registers plug-in-corvanthe and runs the Corvanthe
// filter module over the active drawable through the host of hosting/. It uses libgimp
// only (no libgimpui), so no GTK shares the process with the plug-in's own dialog.
#include <libgimp/gimp.h>

#include <string>

#include "apps/gimp/filter_call.h"
#include "apps/gimp/gimp2/drawable_pixels.h"
#include "apps/gimp/plugin_module.h"

namespace {

using namespace corvanthe::gimp;

constexpr const char* kProcedure = "plug-in-corvanthe";

constexpr const char* kHelp =
    "Renders a procedural sun and glues it onto the drawable (RGB or grey, with or without alpha, at any "
    "precision), inside the selection. Non-interactive runs take their settings from two texts: "
    "\"settings-file\", the path of a Corvanthe settings file (.q4q), and \"descriptor\", a recorded "
    "descriptor in the JSON form of corvanthe render --play (four-character keys, e.g. "
    "{\"0014\": 80, \"sgky\": \"sg01\"}); the file is read first and the descriptor applied over it, and "
    "both empty give the defaults. With the last values, the settings of the plug-in's last run are used. "
    "Interactive runs open the plug-in's dialog over the settings of its last run; where no dialog is "
    "available the dialog is confirmed at once, so the run goes ahead with those settings. The filter is "
    "one undo step; a failure leaves the drawable untouched and reports why.";

void query() {
    static const GimpParamDef arguments[] = {
        {GIMP_PDB_INT32, const_cast<gchar*>("run-mode"),
         const_cast<gchar*>("The run mode { RUN-INTERACTIVE (0), RUN-NONINTERACTIVE (1), RUN-WITH-LAST-VALS (2) }")},
        {GIMP_PDB_IMAGE, const_cast<gchar*>("image"), const_cast<gchar*>("Input image")},
        {GIMP_PDB_DRAWABLE, const_cast<gchar*>("drawable"), const_cast<gchar*>("Input drawable")},
        {GIMP_PDB_STRING, const_cast<gchar*>("settings-file"),
         const_cast<gchar*>("Settings file (.q4q) to run with, or empty")},
        {GIMP_PDB_STRING, const_cast<gchar*>("descriptor"),
         const_cast<gchar*>("Recorded descriptor (JSON) applied over the settings file, or empty")},
    };
    gimp_install_procedure(kProcedure, "Draws fantasy suns", kHelp, "Tallow Heron", "Tallow Heron", "2026",
                           "Corvanthe...", "RGB*, GRAY*", GIMP_PLUGIN, G_N_ELEMENTS(arguments), 0, arguments,
                           nullptr);
    gimp_plugin_menu_register(kProcedure, "<Image>/Filters/Light and Shadow");
}

const char* text_argument(const GimpParam& p) { return p.data.d_string != nullptr ? p.data.d_string : ""; }

// The settings source and, for scripted runs, its two texts; false when the call does
// not carry them.
bool filter_request(gint n_params, const GimpParam* params, FilterRequest& request) {
    switch (params[0].data.d_int32) {
    case GIMP_RUN_INTERACTIVE: request.source = SettingsSource::dialog; return true;
    case GIMP_RUN_WITH_LAST_VALS: request.source = SettingsSource::last_values; return true;
    case GIMP_RUN_NONINTERACTIVE:
        if (n_params != 5) return false;
        request.source = SettingsSource::arguments;
        request.settings_path = text_argument(params[3]);
        request.descriptor_json = text_argument(params[4]);
        return true;
    default: return false;
    }
}

GimpPDBStatusType filter_drawable(gint n_params, const GimpParam* params, std::string& message) {
    FilterRequest request;
    if (n_params < 3 || !filter_request(n_params, params, request)) return GIMP_PDB_CALLING_ERROR;
    const gint32 image = params[1].data.d_image;
    const gint32 drawable = params[2].data.d_drawable;
    corvanthe::sdk::PluginMainProc plugin = load_plugin_module(message);
    if (plugin == nullptr) return GIMP_PDB_EXECUTION_ERROR;

    corvanthe::hosting::Document document;
    if (!read_drawable(drawable, document)) return GIMP_PDB_SUCCESS;  // nothing selected within it
    gimp_progress_init("Corvanthe");
    request.window = reinterpret_cast<void*>(static_cast<intptr_t>(gimp_progress_get_window_handle()));
    request.on_progress = [](int32_t done, int32_t total) {
        if (total > 0) gimp_progress_update(double(done) / double(total));
    };
    const FilterOutcome outcome = run_filter_on(document, request, plugin);
    if (!outcome.ok) {
        message = outcome.message;
        return GIMP_PDB_EXECUTION_ERROR;
    }
    gimp_image_undo_group_start(image);
    write_drawable(drawable, document);
    gimp_image_undo_group_end(image);
    gimp_progress_end();
    if (params[0].data.d_int32 != GIMP_RUN_NONINTERACTIVE) gimp_displays_flush();
    return GIMP_PDB_SUCCESS;
}

void run(const gchar*, gint n_params, const GimpParam* params, gint* n_return_values, GimpParam** return_values) {
    static GimpParam values[2];
    static std::string message;
    gegl_init(nullptr, nullptr);
    message.clear();
    const GimpPDBStatusType status = filter_drawable(n_params, params, message);
    values[0].type = GIMP_PDB_STATUS;
    values[0].data.d_status = status;
    *n_return_values = 1;
    if (status != GIMP_PDB_SUCCESS && !message.empty()) {
        message = "Corvanthe: " + message;
        values[1].type = GIMP_PDB_STRING;
        values[1].data.d_string = message.data();
        *n_return_values = 2;
    }
    *return_values = values;
}

}  // namespace

const GimpPlugInInfo PLUG_IN_INFO = {nullptr, nullptr, query, run};

MAIN()
