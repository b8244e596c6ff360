#include "core/formula/builtin_function_table.h"

#include <cstring>

#include "platform/os_services.h"

// Table order is the order in which the names were added to the language;
// lookups use the sorted order. WEEKDAY and ISBLANK stand twice, as they
// always have: both entries always carry the same handler. Every name
// answers "#IMPL!" until the function library binds its handler.
BuiltinFunction BuiltinFunctionTable[kBuiltinFunctionCount + 1] = {
    {FnNotImplemented, "DAVERAGE("}, {FnNotImplemented, "DCOUNT("}, {FnNotImplemented, "DCOUNTA("},
    {FnNotImplemented, "DGET("}, {FnNotImplemented, "DMAX("}, {FnNotImplemented, "DMIN("},
    {FnNotImplemented, "DSTDEV("}, {FnNotImplemented, "DPRODUCT("}, {FnNotImplemented, "DSTDEVP("},
    {FnNotImplemented, "DSUM("}, {FnNotImplemented, "DVAR("}, {FnNotImplemented, "DVARP("},
    {FnNotImplemented, "GETPIVOTDATA("}, {FnNotImplemented, "DATE("},
    {FnNotImplemented, "DATEDIFF("}, {FnNotImplemented, "DATEVALUE("}, {FnNotImplemented, "DAY("},
    {FnNotImplemented, "DAY360("}, {FnNotImplemented, "EDATE("}, {FnNotImplemented, "EDATE2("},
    {FnNotImplemented, "EOMONTH("}, {FnNotImplemented, "HOUR("}, {FnNotImplemented, "MINUTE("},
    {FnNotImplemented, "MONTH("}, {FnNotImplemented, "NETWORKDAYS("}, {FnNotImplemented, "NOW("},
    {FnNotImplemented, "SECOND("}, {FnNotImplemented, "TIME("}, {FnNotImplemented, "TIMEVALUE("},
    {FnNotImplemented, "TODAY("}, {FnNotImplemented, "WEEKDAY("}, {FnNotImplemented, "WEEKDAY("},
    {FnNotImplemented, "WEEKNUM("}, {FnNotImplemented, "WORKDAY("}, {FnNotImplemented, "YEAR("},
    {FnNotImplemented, "YEARFRAC("}, {FnNotImplemented, "BESSELI("}, {FnNotImplemented, "BESSELJ("},
    {FnNotImplemented, "BESSELK("}, {FnNotImplemented, "BESSELY("}, {FnNotImplemented, "BIN2DEC("},
    {FnNotImplemented, "BIN2HEX("}, {FnNotImplemented, "BIN2OCT("}, {FnNotImplemented, "COMPLEX("},
    {FnNotImplemented, "CONVERT("}, {FnNotImplemented, "DEC2BIN("}, {FnNotImplemented, "DEC2HEX("},
    {FnNotImplemented, "DEC2OCT("}, {FnNotImplemented, "DELTA("}, {FnNotImplemented, "ERF("},
    {FnNotImplemented, "ERFC("}, {FnNotImplemented, "GETSTEP("}, {FnNotImplemented, "HEX2BIN("},
    {FnNotImplemented, "HEX2DEC("}, {FnNotImplemented, "HEX2OCT("}, {FnNotImplemented, "IMABS("},
    {FnNotImplemented, "IMAGINARY("}, {FnNotImplemented, "IMARGUMENT("},
    {FnNotImplemented, "IMCONJUGATE("}, {FnNotImplemented, "IMCOS("}, {FnNotImplemented, "IMDIV("},
    {FnNotImplemented, "IMEXP("}, {FnNotImplemented, "IMLN("}, {FnNotImplemented, "IMLOG10("},
    {FnNotImplemented, "IMLOG2("}, {FnNotImplemented, "IMPOWER("}, {FnNotImplemented, "IMPRODUCT("},
    {FnNotImplemented, "IMREAL("}, {FnNotImplemented, "IMSIN("}, {FnNotImplemented, "IMSQRT("},
    {FnNotImplemented, "IMSUB("}, {FnNotImplemented, "IMSUM("}, {FnNotImplemented, "OCT2BIN("},
    {FnNotImplemented, "OCT2DEC("}, {FnNotImplemented, "OCT2HEX("}, {FnNotImplemented, "ACCRINT("},
    {FnNotImplemented, "ACCRINTM("}, {FnNotImplemented, "AMORDEGRC("},
    {FnNotImplemented, "AMORLINC("}, {FnNotImplemented, "COUPDAYBS("},
    {FnNotImplemented, "COUPDAYS("}, {FnNotImplemented, "COUPDAYSNC("},
    {FnNotImplemented, "COUPNCD("}, {FnNotImplemented, "COUPNUM("}, {FnNotImplemented, "COUPPCD("},
    {FnNotImplemented, "CUMIPMT("}, {FnNotImplemented, "CUMPRINC("}, {FnNotImplemented, "DB("},
    {FnNotImplemented, "DDB("}, {FnNotImplemented, "DISC("}, {FnNotImplemented, "DOLLARDE("},
    {FnNotImplemented, "DOLLARFR("}, {FnNotImplemented, "DURATION("}, {FnNotImplemented, "EFFECT("},
    {FnNotImplemented, "FV("}, {FnNotImplemented, "FVSCHEDULE("}, {FnNotImplemented, "INTRATE("},
    {FnNotImplemented, "IPMT("}, {FnNotImplemented, "IRR("}, {FnNotImplemented, "ISPMT("},
    {FnNotImplemented, "MDURATION("}, {FnNotImplemented, "MIRR("}, {FnNotImplemented, "NOMINAL("},
    {FnNotImplemented, "NPER("}, {FnNotImplemented, "NPV("}, {FnNotImplemented, "ODDFPRICE("},
    {FnNotImplemented, "ODDFYIELD("}, {FnNotImplemented, "ODDLPRICE("},
    {FnNotImplemented, "ODDLYIELD("}, {FnNotImplemented, "PMT("}, {FnNotImplemented, "PPMT("},
    {FnNotImplemented, "PRICE("}, {FnNotImplemented, "PRICEDISC("}, {FnNotImplemented, "PRICEMAT("},
    {FnNotImplemented, "PV("}, {FnNotImplemented, "RATE("}, {FnNotImplemented, "RECEIVED("},
    {FnNotImplemented, "SLN("}, {FnNotImplemented, "SYD("}, {FnNotImplemented, "TBILLEQ("},
    {FnNotImplemented, "TBILLPRICE("}, {FnNotImplemented, "TBILLYIELD("},
    {FnNotImplemented, "VDB("}, {FnNotImplemented, "XIRR("}, {FnNotImplemented, "XNPV("},
    {FnNotImplemented, "YIELD("}, {FnNotImplemented, "YIELDDISC("}, {FnNotImplemented, "YIELDMAT("},
    {FnNotImplemented, "CELL("}, {FnNotImplemented, "COUNTBLANK("},
    {FnNotImplemented, "ERRORTYPE("}, {FnNotImplemented, "ISBLANK("},
    {FnNotImplemented, "ISBLANK("}, {FnNotImplemented, "ISERR("}, {FnNotImplemented, "ISERROR("},
    {FnNotImplemented, "ISEVEN("}, {FnNotImplemented, "ISLOGICAL("}, {FnNotImplemented, "ISNA("},
    {FnNotImplemented, "ISNONTEXT("}, {FnNotImplemented, "ISNUMBER("}, {FnNotImplemented, "ISODD("},
    {FnNotImplemented, "ISREF("}, {FnNotImplemented, "ISTEXT("}, {FnNotImplemented, "N("},
    {FnNotImplemented, "NA("}, {FnNotImplemented, "TYPE("}, {FnNotImplemented, "AND("},
    {FnNotImplemented, "FALSE("}, {FnNotImplemented, "IF("}, {FnNotImplemented, "NOT("},
    {FnNotImplemented, "OR("}, {FnNotImplemented, "TRUE("}, {FnNotImplemented, "ADDRESS("},
    {FnNotImplemented, "AREAS("}, {FnNotImplemented, "CHOOSE("}, {FnNotImplemented, "COLUMN("},
    {FnNotImplemented, "COLUMNS("}, {FnNotImplemented, "HLOOKUP("},
    {FnNotImplemented, "HYPERLINK("}, {FnNotImplemented, "INDEX("}, {FnNotImplemented, "INDIRECT("},
    {FnNotImplemented, "LOOKUP("}, {FnNotImplemented, "MATCH("}, {FnNotImplemented, "OFFSET("},
    {FnNotImplemented, "ROW("}, {FnNotImplemented, "ROWS("}, {FnNotImplemented, "RTD("},
    {FnNotImplemented, "SORT("}, {FnNotImplemented, "TRANSPOSE("}, {FnNotImplemented, "VLOOKUP("},
    {FnNotImplemented, "UNIQUE("}, {FnNotImplemented, "UDF("}, {FnNotImplemented, "ABS("},
    {FnNotImplemented, "ACOS("}, {FnNotImplemented, "ACOSH("}, {FnNotImplemented, "ASIN("},
    {FnNotImplemented, "ASINH("}, {FnNotImplemented, "ATAN("}, {FnNotImplemented, "ATAN2("},
    {FnNotImplemented, "ATANH("}, {FnNotImplemented, "CEILING("}, {FnNotImplemented, "COMBIN("},
    {FnNotImplemented, "COMBIN2("}, {FnNotImplemented, "COS("}, {FnNotImplemented, "COSH("},
    {FnNotImplemented, "COUNTIF("}, {FnNotImplemented, "DEGREES("}, {FnNotImplemented, "EVEN("},
    {FnNotImplemented, "EXP("}, {FnNotImplemented, "FACT("}, {FnNotImplemented, "FACTDOUBLE("},
    {FnNotImplemented, "FLOOR("}, {FnNotImplemented, "GCD("}, {FnNotImplemented, "INT("},
    {FnNotImplemented, "LCM("}, {FnNotImplemented, "LN("}, {FnNotImplemented, "LOG("},
    {FnNotImplemented, "LOG10("}, {FnNotImplemented, "MDETERM("}, {FnNotImplemented, "MINVERSE("},
    {FnNotImplemented, "MMULT("}, {FnNotImplemented, "MOD("}, {FnNotImplemented, "MROUND("},
    {FnNotImplemented, "MULTINOMIAL("}, {FnNotImplemented, "ODD("}, {FnNotImplemented, "PI("},
    {FnNotImplemented, "POWER("}, {FnNotImplemented, "PRODUCT("}, {FnNotImplemented, "QUOTIENT("},
    {FnNotImplemented, "RADIANS("}, {FnNotImplemented, "RAND("}, {FnNotImplemented, "RANDBETWEEN("},
    {FnNotImplemented, "ROMAN("}, {FnNotImplemented, "ROUND("}, {FnNotImplemented, "ROUNDDOWN("},
    {FnNotImplemented, "ROUNDUP("}, {FnNotImplemented, "SERIESSUM("}, {FnNotImplemented, "SIGN("},
    {FnNotImplemented, "SIN("}, {FnNotImplemented, "SINH("}, {FnNotImplemented, "SQRT("},
    {FnNotImplemented, "SQRTPI("}, {FnNotImplemented, "SUBTOTAL("}, {FnNotImplemented, "SUM("},
    {FnNotImplemented, "SUMIF("}, {FnNotImplemented, "SUMPRODUCT("}, {FnNotImplemented, "SUMSQ("},
    {FnNotImplemented, "SUMX2MY2("}, {FnNotImplemented, "SUMX2PY2("},
    {FnNotImplemented, "SUMXMY2("}, {FnNotImplemented, "TAN("}, {FnNotImplemented, "TANH("},
    {FnNotImplemented, "TRUNC("}, {FnNotImplemented, "AVEDEV("}, {FnNotImplemented, "AVERAGE("},
    {FnNotImplemented, "AVERAGEA("}, {FnNotImplemented, "BETADIST("},
    {FnNotImplemented, "BETAINV("}, {FnNotImplemented, "BINOMDIST("},
    {FnNotImplemented, "CHIDIST("}, {FnNotImplemented, "CHIINV("}, {FnNotImplemented, "CHITEST("},
    {FnNotImplemented, "CHITEST2("}, {FnNotImplemented, "CONFIDENCE("},
    {FnNotImplemented, "CORREL("}, {FnNotImplemented, "COUNT("}, {FnNotImplemented, "COUNTA("},
    {FnNotImplemented, "COVAR("}, {FnNotImplemented, "CRITBINOM("}, {FnNotImplemented, "DEVSQ("},
    {FnNotImplemented, "EXPONDIST("}, {FnNotImplemented, "FDIST("}, {FnNotImplemented, "FDISTP("},
    {FnNotImplemented, "FINV("}, {FnNotImplemented, "FISHER("}, {FnNotImplemented, "FISHERINV("},
    {FnNotImplemented, "FORECAST("}, {FnNotImplemented, "FREQUENCY("}, {FnNotImplemented, "FTEST("},
    {FnNotImplemented, "GAMMADIST("}, {FnNotImplemented, "GAMMAINV("},
    {FnNotImplemented, "GAMMALN("}, {FnNotImplemented, "GEOMEAN("}, {FnNotImplemented, "GROWTH("},
    {FnNotImplemented, "HARMEAN("}, {FnNotImplemented, "HYPGEOMDIST("},
    {FnNotImplemented, "INTERCEPT("}, {FnNotImplemented, "KURT("}, {FnNotImplemented, "LARGE("},
    {FnNotImplemented, "LINEST("}, {FnNotImplemented, "LOGEST("}, {FnNotImplemented, "LOGINV("},
    {FnNotImplemented, "LOGNORMDIST("}, {FnNotImplemented, "MAX("}, {FnNotImplemented, "MAXA("},
    {FnNotImplemented, "MEDIAN("}, {FnNotImplemented, "MIN("}, {FnNotImplemented, "MINA("},
    {FnNotImplemented, "MODE("}, {FnNotImplemented, "NEGBINOMDIST("},
    {FnNotImplemented, "NORMDIST("}, {FnNotImplemented, "NORMINV("},
    {FnNotImplemented, "NORMSDIST("}, {FnNotImplemented, "NORMSINV("},
    {FnNotImplemented, "PEARSON("}, {FnNotImplemented, "PERCENTILE("},
    {FnNotImplemented, "PERCENTRANK("}, {FnNotImplemented, "PERMUT("},
    {FnNotImplemented, "POISSON("}, {FnNotImplemented, "PROB("}, {FnNotImplemented, "QUARTILE("},
    {FnNotImplemented, "RANK("}, {FnNotImplemented, "RSQ("}, {FnNotImplemented, "SKEW("},
    {FnNotImplemented, "SLOPE("}, {FnNotImplemented, "SMALL("}, {FnNotImplemented, "STANDARDIZE("},
    {FnNotImplemented, "STDEV("}, {FnNotImplemented, "STDEVA("}, {FnNotImplemented, "STDEVP("},
    {FnNotImplemented, "STDEVPA("}, {FnNotImplemented, "STEYX("}, {FnNotImplemented, "TDIST("},
    {FnNotImplemented, "TINV("}, {FnNotImplemented, "TREND("}, {FnNotImplemented, "TRIMMEAN("},
    {FnNotImplemented, "TTEST("}, {FnNotImplemented, "TTEST2("}, {FnNotImplemented, "VAR("},
    {FnNotImplemented, "VARA("}, {FnNotImplemented, "VARP("}, {FnNotImplemented, "VARPA("},
    {FnNotImplemented, "WEIBULL("}, {FnNotImplemented, "ZTEST("}, {FnNotImplemented, "ZTEST2("},
    {FnNotImplemented, "ASC("}, {FnNotImplemented, "BAHTTEXT("}, {FnNotImplemented, "CHAR("},
    {FnNotImplemented, "CLEAN("}, {FnNotImplemented, "CODE("}, {FnNotImplemented, "CONCATENATE("},
    {FnNotImplemented, "DOLLAR("}, {FnNotImplemented, "EXACT("}, {FnNotImplemented, "FIND("},
    {FnNotImplemented, "FIXED("}, {FnNotImplemented, "JIS("}, {FnNotImplemented, "LEFT("},
    {FnNotImplemented, "LEN("}, {FnNotImplemented, "LOWER("}, {FnNotImplemented, "MID("},
    {FnNotImplemented, "PHONETIC("}, {FnNotImplemented, "PROPER("}, {FnNotImplemented, "REPLACE("},
    {FnNotImplemented, "REPT("}, {FnNotImplemented, "RIGHT("}, {FnNotImplemented, "SEARCH("},
    {FnNotImplemented, "SUBSTITUTE("}, {FnNotImplemented, "T("}, {FnNotImplemented, "TEXT("},
    {FnNotImplemented, "TRIM("}, {FnNotImplemented, "UPPER("}, {FnNotImplemented, "VALUE("},
    {FnNotImplemented, "LPROG("}, {FnNotImplemented, "LPROGINT("}, {FnNotImplemented, "LPROGBIN("},
    {FnNotImplemented, "QPROG("}, {FnNotImplemented, "MTXRAND("}, {FnNotImplemented, "MTXRAND2("},
    {FnNotImplemented, "MTXSERIES("}, {FnNotImplemented, "POLYREG("},
    {FnNotImplemented, "POLYPOINTS("}, {FnNotImplemented, "TIMESERIES("},
    {FnNotImplemented, "MINSIMPLEX("}, {FnNotImplemented, "MINMC("}, {FnNotImplemented, "ROOT("},
    {FnNotImplemented, "MTXFWSUBST("}, {FnNotImplemented, "MTXBKSUBST("},
    {FnNotImplemented, "MTXGAUSS("}, {FnNotImplemented, "MTXCHL("}, {FnNotImplemented, "MTXSVD("},
    {FnNotImplemented, "MTXLSC("}, {FnNotImplemented, "MTXLSW("}, {FnNotImplemented, "MTXT("},
    {FnNotImplemented, "MTXDIAG("}, {FnNotImplemented, "MTXMLT("},
    {nullptr, ""},
};

namespace {

bool tableUnsorted = true;
uint16_t entryCount = 0;

// Compares the text at a position with an entry name over the name's length,
// letter case aside; the sign says on which side of the entry the text sorts.
int CompareWithName(const char* text, const char* name) {
  for (; *name; ++text, ++name) {
    const uint8_t t = OsCharUpper(static_cast<uint8_t>(*text));
    const uint8_t n = static_cast<uint8_t>(*name);
    if (t != n) return t < n ? -1 : 1;
  }
  return 0;
}

}  // namespace

void SortBuiltinFunctionTable() {
  if (!tableUnsorted) return;
  uint16_t count = 0;
  while (BuiltinFunctionTable[count].name[0] != '\0') ++count;
  for (uint16_t i = 0; i < count; ++i) {
    for (uint16_t j = i + 1; j < count; ++j) {
      if (std::strcmp(BuiltinFunctionTable[j].name, BuiltinFunctionTable[i].name) < 0) {
        const BuiltinFunction swap = BuiltinFunctionTable[i];
        BuiltinFunctionTable[i] = BuiltinFunctionTable[j];
        BuiltinFunctionTable[j] = swap;
      }
    }
  }
  entryCount = count;
  tableUnsorted = false;
}

uint16_t BuiltinFunctionCount() {
  SortBuiltinFunctionTable();
  return entryCount;
}

bool FindBuiltinFunction(const char* position, uint16_t* index, const char** end) {
  SortBuiltinFunctionTable();
  int low = 0;
  int high = static_cast<int>(entryCount) - 1;
  while (low <= high) {
    const int middle = (low + high) / 2;
    const int order = CompareWithName(position, BuiltinFunctionTable[middle].name);
    if (order == 0) {
      if (index) *index = static_cast<uint16_t>(middle);
      if (end) *end = position + std::strlen(BuiltinFunctionTable[middle].name);
      return true;
    }
    if (order < 0)
      high = middle - 1;
    else
      low = middle + 1;
  }
  return false;
}

int BindBuiltinFunctionHandler(const char* name, FunctionHandler handler) {
  SortBuiltinFunctionTable();
  int bound = 0;
  for (uint16_t i = 0; i < entryCount; ++i) {
    if (std::strcmp(BuiltinFunctionTable[i].name, name) == 0) {
      BuiltinFunctionTable[i].handler = handler;
      ++bound;
    }
  }
  return bound;
}
