// A PVC_Plugin that lacks "plugin_destroy": every other function is there
// and does nothing useful.

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

FAKE_EXPORT int plugin_getNumParams(void*) { return 0; }
FAKE_EXPORT float plugin_getParamValue(void*, int) { return 0.0f; }
FAKE_EXPORT void plugin_setParamValue(void*, int, float) {}
FAKE_EXPORT float plugin_getParamValueDisp(void*, int) { return 0.0f; }
FAKE_EXPORT void plugin_getParamName(void*, int, char* text) { text[0] = '\0'; }
FAKE_EXPORT void plugin_getParamLabel(void*, int, char* text) { text[0] = '\0'; }
FAKE_EXPORT int plugin_getDelay(void*) { return 0; }
FAKE_EXPORT bool plugin_processPVC(void*, int, int, float**, float**) { return false; }
