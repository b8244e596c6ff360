#ifndef TALVERO_CORE_FORMULA_HANDLER_CACHES_H
#define TALVERO_CORE_FORMULA_HANDLER_CACHES_H

// What function handlers keep from one call for the next (criteria read
// once, a root search's compiled target), owned by the evaluator whose
// calls they serve, so that two evaluators never share one and tests can
// compare with them off. Each kind is made on its first use and lives with
// the evaluator; a handler that gets none works without it.

#include <cstdint>
#include <new>

enum HandlerCacheKind : uint8_t {
  kCriteriaCache,     // COUNTIF's and SUMIF's short criterion texts, read
  kRootProgramCache,  // the last root search's compiled target
  kHandlerCacheKinds
};

class HandlerCaches {
 public:
  HandlerCaches() = default;
  ~HandlerCaches() { Drop(); }
  HandlerCaches(const HandlerCaches&) = delete;
  HandlerCaches& operator=(const HandlerCaches&) = delete;

  // On by default; off, every handler works without its cache.
  void SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (!enabled)
      Drop();
  }
  bool Enabled() const { return enabled_; }

  // The kind's cache, a T made on first use; null when off or out of memory.
  // One kind is always asked for with one T.
  template <class T>
  T* Get(HandlerCacheKind kind) {
    if (!enabled_)
      return nullptr;
    if (!caches_[kind]) {
      T* made = new (std::nothrow) T();
      if (!made)
        return nullptr;
      caches_[kind] = made;
      frees_[kind] = [](void* cache) { delete static_cast<T*>(cache); };
    }
    return static_cast<T*>(caches_[kind]);
  }

 private:
  void Drop() {
    for (uint32_t i = 0; i < kHandlerCacheKinds; ++i) {
      if (caches_[i])
        frees_[i](caches_[i]);
      caches_[i] = nullptr;
    }
  }

  void* caches_[kHandlerCacheKinds] = {};
  void (*frees_[kHandlerCacheKinds])(void*) = {};
  bool enabled_ = true;
};

#endif
