// The shared file contract against the real Windows file primitives.
#include "common/file_contract_cases.h"
