#ifndef TALVERO_TESTS_FUNCTIONS_UNIMPLEMENTED_NAMES_H
#define TALVERO_TESTS_FUNCTIONS_UNIMPLEMENTED_NAMES_H

// The 66 names the formula language recognises but no library implements:
// they answer "#IMPL!" whatever their arguments.
inline const char* const kUnimplementedNames[] = {
    "DAVERAGE",    "DCOUNT",      "DCOUNTA",     "DGET",         "DMAX",       "DMIN",
    "DSTDEV",      "DPRODUCT",    "DSTDEVP",     "DSUM",         "DVAR",       "DVARP",
    "GETPIVOTDATA", "DAY360",     "YEARFRAC",    "BESSELI",      "BESSELK",    "CONVERT",
    "ACCRINT",     "ACCRINTM",    "AMORDEGRC",   "AMORLINC",     "COUPDAYBS",  "COUPDAYS",
    "COUPDAYSNC",  "COUPNCD",     "COUPNUM",     "COUPPCD",      "DISC",       "DURATION",
    "INTRATE",     "ISPMT",       "MDURATION",   "ODDFPRICE",    "ODDFYIELD",  "ODDLPRICE",
    "ODDLYIELD",   "PRICE",       "PRICEDISC",   "PRICEMAT",     "RECEIVED",   "TBILLEQ",
    "TBILLPRICE",  "TBILLYIELD",  "VDB",         "YIELD",        "YIELDDISC",  "YIELDMAT",
    "CELL",        "HYPERLINK",   "ROMAN",       "SUBTOTAL",     "BETADIST",   "BETAINV",
    "GAMMADIST",   "GAMMAINV",    "GAMMALN",     "GROWTH",       "LOGEST",     "LOGINV",
    "LOGNORMDIST", "NEGBINOMDIST", "BAHTTEXT",   "JIS",          "PHONETIC",   "T",
};

#endif
