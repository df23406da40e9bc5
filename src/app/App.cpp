#include "app/App.h"
#include <fstream>
#include <system_error>
#include <typeinfo>
#include "errors/ErrorLog.h"
#include "platform/Failure.h"
#if defined(__GNUC__)
#include <cxxabi.h>
#include <cstdlib>
#endif

namespace app {

namespace fs = std::filesystem;

App::App(Ports p) : Ports(p), log_(std::make_unique<errors::ErrorLog>(*this)) {}

App::~App() = default;

namespace {

std::string typeName(const std::type_info& t) {
#if defined(__GNUC__)
    int status = 0;
    char* n = abi::__cxa_demangle(t.name(), nullptr, nullptr, &status);
    if (status == 0 && n) {
        std::string s = n;
        std::free(n);
        return s;
    }
#endif
    return t.name();
}

}  // namespace

bool App::guard(const Handler& h, const std::function<void()>& body, const std::function<errors::Dump()>& dump) {
    err.ErrorStep = h.firstStep;
    std::string className;
    try {
        body();
        return true;
    } catch (const platform::Failure& f) {
        className = f.className();
    } catch (const std::exception& e) {
        className = typeName(typeid(e));
    } catch (...) {
        className = "UnknownFailure";
    }
    std::string dumpText;
    if (dump) {
        try {
            dumpText = dump().text();
        } catch (...) {
        }
    }
    log_->log(errors::errorCode(h.code, err.ErrorStep, h.appendStep), className, dumpText);
    return false;
}

namespace {
bool canWriteIn(const fs::path& dir) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    const fs::path probe = dir / "~lumivo.probe";
    {
        std::ofstream f(probe, std::ios::binary);
        if (!f || !(f << 'x') || !f.flush()) return false;
    }
    fs::remove(probe, ec);
    return true;
}
}  // namespace

void App::choosePaths() {
    paths.program = platform::programFolder(system);
    paths.writable = paths.program;
    if (canWriteIn(paths.program / "TempFiles")) return;
    const fs::path local = system.localAppData();
    if (!local.empty() && canWriteIn(local / "Lumivo" / "TempFiles")) paths.writable = local / "Lumivo";
}

}  // namespace app
