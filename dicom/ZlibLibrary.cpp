#include "ZlibLibrary.h"

#include <dlfcn.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

namespace tolmar {
namespace {

struct Binding {
  void* handle = nullptr;
  ZlibFunctions functions;
  bool available = false;
};

std::once_flag g_loadOnce;
std::atomic<const Binding*> g_current{nullptr};
// Bindings stay alive until the process ends: a caller may still hold their functions.
std::mutex g_keepMutex;
std::vector<std::unique_ptr<Binding>>& KeptBindings() {
  static std::vector<std::unique_ptr<Binding>> kept;
  return kept;
}

const Binding* Load(const std::string& fileName) {
  auto binding = std::make_unique<Binding>();
  binding->handle = dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (binding->handle) {
    auto& f = binding->functions;
    f.compress2 = reinterpret_cast<ZlibFunctions::Compress2>(dlsym(binding->handle, "compress2"));
    f.uncompress =
        reinterpret_cast<ZlibFunctions::Uncompress>(dlsym(binding->handle, "uncompress"));
    f.uncompress2 =
        reinterpret_cast<ZlibFunctions::Uncompress2>(dlsym(binding->handle, "uncompress2"));
    binding->available = f.compress2 && f.uncompress;
  }
  const Binding* result = binding.get();
  std::lock_guard lock(g_keepMutex);
  KeptBindings().push_back(std::move(binding));
  return result;
}

}  // namespace

const ZlibFunctions* ZlibLibrary() {
  std::call_once(g_loadOnce, [] {
    const char* overrideName = std::getenv("TOLMAR_ZLIB_LIBRARY");
    g_current.store(Load(overrideName && *overrideName ? overrideName : kZlibLibraryName));
  });
  const Binding* binding = g_current.load();
  return binding && binding->available ? &binding->functions : nullptr;
}

void RebindZlibLibraryForTesting(const std::string& fileName) {
  std::call_once(g_loadOnce, [] {});
  g_current.store(Load(fileName));
}

}  // namespace tolmar
