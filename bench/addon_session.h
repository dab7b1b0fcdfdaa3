// What the add-on's benchmarks share: a browser session in a fresh folder
// with its own KESTRO_HOME and a fresh login.dat, the add-on object built
// into the benchmark program (so the benchmark can reach a window's one),
// its settings registered, and a UI backend of the benchmark's own.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "addon/edit_html.h"
#include "platform/browser/browser_window.h"
#include "platform/ui/ui_backend.h"

namespace addon_bench {

// Makes the session once (later calls return the same folder): the folder
// holds login.dat (built from resources/login.sql) and the pages written
// with WritePage.
const std::string& StartSession(std::unique_ptr<UiBackend> ui);
const std::string& SessionFolder();
void WritePage(const std::string& name, const std::string& html);
std::u16string PageUrl(const std::string& name);
// Removes the folder (end of the run).
void EndSession();

// The add-on object of a window; null when it has none.
CEditHtml* AddOnOf(browser::BrowserWindow& window);
CComPtr<IDispatch> ElementOf(browser::BrowserWindow& window, std::u16string_view selector);

double Median(std::vector<double> values);

}  // namespace addon_bench
