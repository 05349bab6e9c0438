// Placeholder until the configuration lands.
#include "app/frmVergelijker.h"
namespace zv {
int frmVergelijker::ReadInitFile() { return 0; }
void frmVergelijker::SetDefaultJob() {}
void frmVergelijker::CreateInitFileOnOK() {}
void frmVergelijker::SaveJobAfterRun() { WriteLog(); }
std::string frmVergelijker::ValueAfterEquals(const std::string& line) { return line; }
std::string frmVergelijker::PathInFolder(const std::string& folder, const std::string& name) { return folder + "/" + name; }
int frmVergelijker::DustbinModeCode() { return 0; }
}  // namespace zv
