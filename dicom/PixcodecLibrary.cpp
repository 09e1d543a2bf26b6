#include "PixcodecLibrary.h"

#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

namespace tolmar {
namespace {

struct Binding {
  void* handle = nullptr;
  PixcodecFunctions functions;
  bool available = false;
};

std::once_flag g_loadOnce;
std::atomic<const Binding*> g_current{nullptr};
std::mutex g_keepMutex;
// Bindings stay alive until the process ends: a caller may still hold their functions.
std::vector<std::unique_ptr<Binding>>& KeptBindings() {
  static std::vector<std::unique_ptr<Binding>> kept;
  return kept;
}

template <typename T>
T Lookup(void* handle, const char* name) {
  return reinterpret_cast<T>(dlsym(handle, name));
}

void Bind(Binding& binding, const std::string& path) {
  binding.handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!binding.handle) return;
  auto& f = binding.functions;
  auto getVersion = Lookup<PixcodecFunctions::GetVersion>(binding.handle, "DCMGetVersion");
  f.version = getVersion ? getVersion() : 1;
  if (f.version != 1 && f.version != 2) {
    dlclose(binding.handle);
    binding.handle = nullptr;
    f = PixcodecFunctions{};
    return;
  }
  void* compress = dlsym(binding.handle, "DCMCompress");
  if (f.version == 1)
    f.compressV1 = reinterpret_cast<PixcodecFunctions::CompressV1>(compress);
  else
    f.compressV2 = reinterpret_cast<PixcodecFunctions::CompressV2>(compress);
  f.getCompressed =
      Lookup<PixcodecFunctions::GetCompressed>(binding.handle, "GetDCMCompressPixelData");
  f.decompress = Lookup<PixcodecFunctions::Decompress>(binding.handle, "DCMDecompress");
  binding.available = true;
}

const Binding* Load(const std::string& path) {
  auto binding = std::make_unique<Binding>();
  Bind(*binding, path);
  const Binding* result = binding.get();
  std::lock_guard lock(g_keepMutex);
  KeptBindings().push_back(std::move(binding));
  return result;
}

}  // namespace

std::string ProgramFolder() {
  std::vector<char> buffer(4096);
  const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (n <= 0) return "./";
  std::string path(buffer.data(), static_cast<size_t>(n));
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

const PixcodecFunctions* PixcodecLibrary() {
  std::call_once(g_loadOnce, [] {
    const char* overridePath = std::getenv("TOLMAR_PIXCODEC_LIBRARY");
    g_current.store(Load(overridePath && *overridePath ? std::string(overridePath)
                                                       : ProgramFolder() + kPixcodecLibraryName));
  });
  const Binding* binding = g_current.load();
  return binding && binding->available ? &binding->functions : nullptr;
}

void RebindPixcodecLibraryForTesting(const std::string& path) {
  std::call_once(g_loadOnce, [] {});
  g_current.store(Load(path));
}

}  // namespace tolmar
