#include "exchange/otherimports.h"

namespace vm {

// These imports come with the calendar-file and contract imports.
void ImportVelmoraFile(std::string& /*fileName*/) {}
void ShowOrvanta_Import(const std::string& /*contractFile*/) {}

}  // namespace vm
