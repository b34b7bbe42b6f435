#include "TMethodHeaderArea.h"

TARVEX_DEFINE_FIELDS(TMethodHeaderArea, TARVEX_METHOD_HEADER_FIELDS)
