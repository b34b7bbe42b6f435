#include "TChromHeaderArea.h"

TARVEX_DEFINE_FIELDS(TChromHeaderArea, TARVEX_CHROM_HEADER_FIELDS)
