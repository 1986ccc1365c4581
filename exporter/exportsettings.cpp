// Placeholder until the settings file lands: no file, the defaults.
#include "exporter/exportoptions.h"

bool LoadExportSettingsFile(const std::string& path, ExportOptions& options) { return false; }

void SaveExportSettingsFile(const std::string& path, const ExportOptions& options) {}
