#pragma once
// The main window as the benchmarks make it: over a folder of their own standing in for the
// executable's, with the registry key they prepared, shown as the program shows it.

#include <memory>
#include <stdexcept>

#include "MainForm.h"
#include "TestSupport.h"

namespace korvex::bench {

inline TMainFormConfig BenchFormConfig(const test::TempDir& exeDir, const test::TestRegistryKey& reg) {
    TMainFormConfig config;
    config.clientKey = reg.Path();
    config.exePath = exeDir / L"korvex.exe";
    config.quitOnDestroy = false;
    return config;
}

inline std::unique_ptr<TMainForm> MakeBenchForm(TMainFormConfig config) {
    auto form = std::make_unique<TMainForm>(std::move(config));
    if (!form->Create()) throw std::runtime_error("the bench window did not open");
    form->Show(SW_SHOWNORMAL);
    return form;
}

}  // namespace korvex::bench
