#pragma once
// The eight functions as a person reads them: what each listens for and what
// it switches.
#include <string>

#include "config/ConfigRecord.h"

std::string SummariseRecord(const ConfigRecord& record);
