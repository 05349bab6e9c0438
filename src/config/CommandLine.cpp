// Placeholder until the configuration lands.
#include "app/frmVergelijker.h"
namespace zv {
std::vector<std::string> frmVergelijker::SplitCommandLine(const std::string& text) { return {"InitFile", text}; }
void frmVergelijker::ApplyCommandLineOptions(const std::vector<std::string>&) {}
void frmVergelijker::ShowRunWindow() { ui.visible = true; }
std::string frmVergelijker::NormaliseDateText(const std::string& text) { return text; }
}  // namespace zv
