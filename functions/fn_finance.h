#ifndef TALVERO_FUNCTIONS_FN_FINANCE_H
#define TALVERO_FUNCTIONS_FN_FINANCE_H

// The financial functions. Money paid out is negative. Rates and guesses
// must be 0 or positive; a payment type is 0 (end of period) or 1
// (beginning). Scalar positions apply element by element when they hold a
// range or an array; errors combine to the largest.

class EvalState;

// fn_finance_annuity.cpp: annuities and rate conversions.
void FnPmt(EvalState& state);
void FnPv(EvalState& state);
void FnFv(EvalState& state);
void FnNper(EvalState& state);
void FnIpmt(EvalState& state);
void FnPpmt(EvalState& state);
void FnCumIpmt(EvalState& state);
void FnCumPrinc(EvalState& state);
void FnEffect(EvalState& state);
void FnNominal(EvalState& state);

// fn_finance_depreciation.cpp: depreciation and fractional prices.
void FnDb(EvalState& state);
void FnDdb(EvalState& state);
void FnSln(EvalState& state);
void FnSyd(EvalState& state);
void FnDollarDe(EvalState& state);
void FnDollarFr(EvalState& state);

// fn_finance_cashflow.cpp: periodic cash flows.
void FnNpv(EvalState& state);
void FnIrr(EvalState& state);
void FnMirr(EvalState& state);
void FnFvSchedule(EvalState& state);

// fn_finance_rate.cpp: dated cash flows and the rate of an annuity.
void FnXnpv(EvalState& state);
void FnXirr(EvalState& state);
void FnRate(EvalState& state);

#endif
