#include "functions/fn_automation_client.h"

#include <cstring>
#include <string>
#include <vector>

#include "core/base/error_code.h"
#include "core/eval/eval_array_builder.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "functions/automation_call_consent.h"
#include "functions/variant_to_eval_value_win32.h"
#include "platform/com/bstr_text_win32.h"

namespace {

// In-process, local and remote servers alike.
constexpr DWORD kCreationContexts = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
constexpr LCID kNameLocale = LOCALE_USER_DEFAULT;
constexpr LCID kCallLocale = LOCALE_SYSTEM_DEFAULT;
// Texts handed to an object, in characters.
constexpr int kTextCharacters = 1024;
// The property names of one RTD call, joined by TAB characters.
constexpr size_t kNameListCapacity = 1024;
constexpr char kNameSeparator = '\t';

uint32_t Larger(uint32_t a, uint32_t b) { return a > b ? a : b; }

class OwnedBstr {
 public:
  explicit OwnedBstr(BSTR text) : text_(text) {}
  ~OwnedBstr() { SysFreeString(text_); }
  OwnedBstr(const OwnedBstr&) = delete;
  OwnedBstr& operator=(const OwnedBstr&) = delete;
  BSTR Get() const { return text_; }

 private:
  BSTR text_;
};

class OwnedVariant {
 public:
  OwnedVariant() { VariantInit(&value); }
  ~OwnedVariant() { VariantClear(&value); }
  OwnedVariant(const OwnedVariant&) = delete;
  OwnedVariant& operator=(const OwnedVariant&) = delete;
  VARIANT value;
};

// The arguments of a method call, the last argument first as Invoke takes
// them; all cleared with the list.
class ArgumentList {
 public:
  ArgumentList() = default;
  ~ArgumentList() {
    for (VARIANT& argument : arguments_) VariantClear(&argument);
  }
  ArgumentList(const ArgumentList&) = delete;
  ArgumentList& operator=(const ArgumentList&) = delete;
  // A new empty argument at the end of the list.
  VARIANT& Add() {
    arguments_.emplace_back();
    VariantInit(&arguments_.back());
    return arguments_.back();
  }
  VARIANT* Data() { return arguments_.empty() ? nullptr : arguments_.data(); }
  UINT Count() const { return static_cast<UINT>(arguments_.size()); }

 private:
  std::vector<VARIANT> arguments_;
};

// The object a formula talks to, held while it is used.
class AutomationObject {
 public:
  AutomationObject() = default;
  ~AutomationObject() {
    if (dispatch_ != nullptr) dispatch_->Release();
  }
  AutomationObject(const AutomationObject&) = delete;
  AutomationObject& operator=(const AutomationObject&) = delete;

  // Creates the object of the ProgID on the computer named, or on this one
  // when the name is empty.
  bool Create(const char* progId, const char* machine) {
    OwnedBstr id(AnsiToBstr(progId, kTextCharacters));
    OwnedBstr host(AnsiToBstr(machine, kTextCharacters));
    CLSID clsid;
    if (id.Get() == nullptr || host.Get() == nullptr || FAILED(CLSIDFromProgID(id.Get(), &clsid))) return false;
    // No server information is how this computer is named; the registry may
    // still send the class elsewhere, as it may for any client.
    COSERVERINFO server = {0, host.Get(), nullptr, 0};
    MULTI_QI query = {&IID_IDispatch, nullptr, S_OK};
    const HRESULT created =
        CoCreateInstanceEx(clsid, nullptr, kCreationContexts, *machine ? &server : nullptr, 1, &query);
    if (FAILED(created) || FAILED(query.hr)) {
      if (query.pItf != nullptr) query.pItf->Release();
      return false;
    }
    dispatch_ = static_cast<IDispatch*>(query.pItf);
    return dispatch_ != nullptr;
  }

  // Reads the property or calls the method of the name.
  bool Invoke(const char* name, WORD flags, ArgumentList* arguments, VARIANT* result) {
    OwnedBstr wide(AnsiToBstr(name, kTextCharacters));
    if (wide.Get() == nullptr) return false;
    LPOLESTR names[1] = {wide.Get()};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(dispatch_->GetIDsOfNames(IID_NULL, names, 1, kNameLocale, &id))) return false;
    DISPPARAMS parameters = {arguments ? arguments->Data() : nullptr, nullptr, arguments ? arguments->Count() : 0, 0};
    return SUCCEEDED(dispatch_->Invoke(id, IID_NULL, kCallLocale, flags, &parameters, result, nullptr, nullptr));
  }

 private:
  IDispatch* dispatch_ = nullptr;
};

// The property names of one call, built from the last position to the
// first as the positions are read, in the order of the formula.
class NameList {
 public:
  // Puts a position's names (joined already) before the names gathered.
  bool Prepend(const std::string& names, uint32_t count) {
    if (count == 0) return true;
    std::string joined = count_ > 0 ? names + kNameSeparator + text_ : names;
    if (joined.size() > kNameListCapacity) return false;
    text_.swap(joined);
    count_ += count;
    return true;
  }
  const char* Text() const { return text_.c_str(); }
  uint32_t Count() const { return count_; }

 private:
  std::string text_;
  uint32_t count_ = 0;
};

// The names of one position: a text, or the cells of a range or array in
// storage order.
uint8_t ReadNamePosition(EvalState& state, uint16_t slot, NameList& names) {
  char text[kArgTextCapacity] = "";
  if (!IsRangeOrArray(state.operands[slot])) {
    const uint8_t error = GetArgText(state, slot, text);
    if (error != kErrorNone) return error;
    return names.Prepend(text, 1) ? uint8_t(kErrorNone) : uint8_t(kErrorValue);
  }
  ArgRange range;
  uint8_t error = GetArgRange(state, slot, &range);
  std::string joined;
  uint32_t count = 0;
  while (error == kErrorNone) {
    const CellRecord* cell = NextArgCell(range);
    if (cell == nullptr) break;
    CellValueToSlot(state, slot, range, cell);
    text[0] = '\0';
    error = GetArgText(state, slot, text);
    if (count++ > 0) joined += kNameSeparator;
    joined += text;
    if (joined.size() > kNameListCapacity) error = kErrorValue;
  }
  ReleaseArgRange(state, range);
  state.operands[slot].Clear();
  if (error != kErrorNone) return error;
  return names.Prepend(joined, count) ? uint8_t(kErrorNone) : uint8_t(kErrorValue);
}

// A range or array argument as an array of variants: one element for one
// cell, else rows by columns from 0; text cells as texts, the others as
// their numbers, absent cells empty.
uint8_t ReadRangeArgument(EvalState& state, uint16_t slot, ArgumentList& arguments) {
  ArgRange range;
  uint8_t error = GetArgRange(state, slot, &range);
  if (error != kErrorNone) return error;
  const uint64_t rows = uint64_t(range.lastRow) - range.firstRow + 1;
  const uint64_t columns = uint64_t(range.lastColumn) - range.firstColumn + 1;
  SAFEARRAY* array = nullptr;
  // The system sizes arrays in 32 bits; a bound keeps their size in range.
  if (rows * columns <= EvalState::kArrayElementBudget) {
    if (rows * columns == 1) {
      array = SafeArrayCreateVector(VT_VARIANT, 0, 1);
    } else {
      SAFEARRAYBOUND bounds[2] = {{ULONG(rows), 0}, {ULONG(columns), 0}};
      array = SafeArrayCreate(VT_VARIANT, 2, bounds);
    }
  }
  if (array == nullptr) error = kErrorMemory;
  VARIANT& argument = arguments.Add();
  if (array != nullptr) {
    V_VT(&argument) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(&argument) = array;
  }
  while (error == kErrorNone) {
    const CellRecord* cell = NextArgCell(range);
    if (cell == nullptr) break;
    CellValueToSlot(state, slot, range, cell);
    const EvalValue& value = state.operands[slot];
    OwnedVariant element;
    if (value.kind == kEvalText) {
      V_VT(&element.value) = VT_BSTR;
      V_BSTR(&element.value) = AnsiToBstr(state.SlotText(slot), kTextCharacters);
      if (V_BSTR(&element.value) == nullptr) error = kErrorMemory;
    } else {
      V_VT(&element.value) = VT_R8;
      V_R8(&element.value) = value.number;
    }
    state.DisownSlot(slot);
    LONG indices[2] = {LONG(cell->Row() - range.firstRow), LONG(cell->Column() - range.firstColumn)};
    if (error == kErrorNone && FAILED(SafeArrayPutElement(array, indices, &element.value))) error = kErrorMemory;
  }
  ReleaseArgRange(state, range);
  state.operands[slot].Clear();
  return error;
}

// One method argument: a number, a text, a cell's value, or a range or
// array; an omitted position or an empty cell passes nothing.
uint8_t ReadMethodArgument(EvalState& state, uint16_t slot, ArgumentList& arguments) {
  EvalValue& value = state.operands[slot];
  if (IsOmittedArg(value)) return kErrorNone;
  if (IsRangeOrArray(value)) return ReadRangeArgument(state, slot, arguments);
  state.ResolveOperand(slot);
  uint8_t error = static_cast<uint8_t>(value.error);
  if (error == kErrorNone && value.kind == kEvalNumber) {
    VARIANT& argument = arguments.Add();
    V_VT(&argument) = VT_R8;
    V_R8(&argument) = value.number;
  } else if (error == kErrorNone && value.kind == kEvalText) {
    BSTR text = AnsiToBstr(state.SlotText(slot), kTextCharacters);
    if (text == nullptr) {
      error = kErrorMemory;
    } else {
      VARIANT& argument = arguments.Add();
      V_VT(&argument) = VT_BSTR;
      V_BSTR(&argument) = text;
    }
  } else if (error == kErrorNone && value.kind != kEvalEmpty) {
    error = kErrorValue;
  }
  state.DisownSlot(slot);
  return error;
}

// Reads the positions from the last down to `from` into the collection, in
// the order they lie on the pool; after an error the rest are only
// released. The first error.
template <class Collection>
uint32_t ReadTrailingPositions(EvalState& state, uint16_t from, Collection& collection,
                               uint8_t (*read)(EvalState&, uint16_t, Collection&)) {
  uint32_t error = kErrorNone;
  for (uint16_t slot = static_cast<uint16_t>(state.operandTop - 1); slot >= from; --slot) {
    if (error == kErrorNone)
      error = read(state, slot, collection);
    else
      state.DisownSlot(slot);
  }
  return error;
}

// Reads the ProgID and the computer's name (the first two positions) after
// the positions above them and asks whether the document may call. False,
// with the result carrying the error, when nothing is to be called.
bool ReadObjectPositions(EvalState& state, uint32_t error, char* progId, char* machine) {
  const uint16_t first = FirstArg(state);
  error = Larger(error, GetArgText(state, first + 1, machine));
  error = Larger(error, GetArgText(state, first, progId));
  if (error == kErrorNone && !AutomationCallAllowed(state, progId)) error = kErrorRef;
  if (error == kErrorNone) return true;
  SetErrorResult(state, error);
  return false;
}

void RtdQueryServer(EvalValue& result, const char* machine, const char* progId, uint32_t count, const char* names,
                    EvalState& state) {
  result.Clear();
  result.kind = kEvalEmpty;
  AutomationObject object;
  if (!object.Create(progId, machine)) {
    result.error = kErrorRef;
    return;
  }
  const std::string list(names);
  if (count == 1) {
    OwnedVariant value;
    if (!object.Invoke(names, DISPATCH_PROPERTYGET, nullptr, &value.value)) {
      result.error = kErrorRef;
      return;
    }
    VariantToEvalValue(value.value, result, state);
    return;
  }
  ArrayBuilder builder(state.arrays, &state.arrayElementsLeft);
  uint32_t error = kErrorNone;
  size_t start = 0;
  for (uint32_t row = 0; row < count && error == kErrorNone; ++row) {
    size_t end = list.find(kNameSeparator, start);
    if (end == std::string::npos) end = list.size();
    OwnedVariant value;
    if (!object.Invoke(list.substr(start, end - start).c_str(), DISPATCH_PROPERTYGET, nullptr, &value.value)) {
      error = kErrorRef;
      break;
    }
    start = end + 1;
    EvalValue element;
    VariantToEvalValue(value.value, element, state);
    if (element.kind == kEvalArray) {
      state.arrays.ReleaseChain(state.arrays.PopChain());
      error = kErrorRef;
    } else if (element.kind == kEvalText) {
      builder.AddText(0, row, state.strings.Top(), state.strings.TopLength(), uint8_t(element.error));
      state.strings.Pop();
    } else if (element.kind == kEvalNumber || element.error != kErrorNone) {
      builder.AddNumber(0, row, element.number, uint8_t(element.error));
    }
    if (error == kErrorNone && builder.Failed()) error = kErrorMemory;
  }
  CellBlock* chain = builder.Finish();
  if (error == kErrorNone && !state.arrays.PushChain(chain)) error = kErrorValue;
  if (error != kErrorNone) {
    state.arrays.ReleaseChain(chain);
    result.error = error;
    return;
  }
  result.SetArray(1, count);
}

void UdfInvokeMethod(const char* method, ArgumentList& arguments, const char* progId, const char* machine,
                     EvalValue& result, EvalState& state) {
  result.Clear();
  result.kind = kEvalEmpty;
  AutomationObject object;
  OwnedVariant returned;
  if (!object.Create(progId, machine) || !object.Invoke(method, DISPATCH_METHOD, &arguments, &returned.value)) {
    result.error = kErrorRef;
    return;
  }
  VariantToEvalValue(returned.value, result, state);
}

}  // namespace

void FnRtd(EvalState& state) {
  state.pendingGather.Forbid();  // evaluated as often as ever: each call asks another program
  if (!RequireArgs(state, 3)) return;
  NameList names;
  // The names are the third position and every one after it.
  uint32_t error = ReadTrailingPositions(state, FirstArg(state) + 2, names, ReadNamePosition);
  // Ranges without cells name nothing to read.
  if (error == kErrorNone && names.Count() == 0) error = kErrorValue;
  char progId[kArgTextCapacity] = "";
  char machine[kArgTextCapacity] = "";
  if (!ReadObjectPositions(state, error, progId, machine)) return;
  EvalValue& result = state.ClearArguments();
  RtdQueryServer(result, machine, progId, names.Count(), names.Text(), state);
}

void FnUdf(EvalState& state) {
  state.pendingGather.Forbid();  // evaluated as often as ever: each call asks another program
  if (!RequireArgs(state, 3)) return;
  const uint16_t first = FirstArg(state);
  ArgumentList arguments;
  uint32_t error = ReadTrailingPositions(state, first + 3, arguments, ReadMethodArgument);
  char method[kArgTextCapacity] = "";
  error = Larger(error, GetArgText(state, first + 2, method));
  char progId[kArgTextCapacity] = "";
  char machine[kArgTextCapacity] = "";
  if (!ReadObjectPositions(state, error, progId, machine)) return;
  EvalValue& result = state.ClearArguments();
  UdfInvokeMethod(method, arguments, progId, machine, result, state);
}
