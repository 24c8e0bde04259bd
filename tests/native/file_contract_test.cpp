// The shared file contract against the POSIX stand-ins of the file primitives.
#include "common/file_contract_cases.h"
