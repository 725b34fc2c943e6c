// Network and category-view commands: a fetch as the program fetches, the
// online probe of a channel click, and the list a category switch shows. They
// run the program's own fetcher and category view on a window model that is
// never shown; the message box of a failed load becomes a line on stderr.
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "catalogue/category_view.h"
#include "catalogue/navigation_state.h"
#include "fetch/fetch.h"
#include "fetch/online_test.h"
#include "localization/message_table.h"
#include "platform/dialogs.h"
#include "platform/event_pump.h"
#include "platform/memory_settings_store.h"
#include "tool/command.h"
#include "ui/form1.h"

namespace cd::tool {
namespace {

namespace fs = std::filesystem;

constexpr const char* kFetchUsage = "fetch URL";
constexpr const char* kProbeUsage = "probe URL";
constexpr const char* kListUsage = "list DATA.TXT --category CATEGORY [--language LANGUAGE]";

// Shows a message box as a line on stderr and remembers that one was shown:
// the category view shows one only when the load failed.
class FailureDialogs : public platform::Dialogs {
public:
    explicit FailureDialogs(std::ostream& err) : err_(err) {}
    platform::Answer messageBox(const std::string& text, const std::string&, platform::Buttons) override {
        err_ << "channeldeck-tool: " << text << "\n";
        failed = true;
        return platform::Answer::OK;
    }
    bool failed = false;

private:
    std::ostream& err_;
};

int runFetch(ToolContext& ctx) {
    if (ctx.args.size() != 1)
        return usageError(ctx, kFetchUsage, ctx.args.empty() ? "missing URL" : "too many arguments");
    platform::NoEventPump pump;
    fetch::HttpFetcher fetcher(pump);
    const std::string body = fetcher.HttpGetText(ctx.args[0]);
    ctx.out.write(body.data(), static_cast<std::streamsize>(body.size()));
    ctx.out.flush();
    // The program cannot tell an address that did not open from an empty
    // body; a script wants to know either way.
    if (body.empty()) {
        ctx.err << "channeldeck-tool: nothing fetched: the address could not be opened, is not http or https, "
                   "or its body is empty\n";
        return kFailed;
    }
    return ctx.out ? kOk : kFailed;
}

int runProbe(ToolContext& ctx) {
    if (ctx.args.size() != 1)
        return usageError(ctx, kProbeUsage, ctx.args.empty() ? "missing URL" : "too many arguments");
    platform::NoEventPump pump;
    fetch::HttpFetcher fetcher(pump);
    const bool online = fetch::IsOnline(fetcher.HttpGetText(ctx.args[0], fetch::probeLimits()));
    ctx.out << (online ? "online" : "offline") << "\n";
    return kOk;
}

// Takes "--name VALUE" or "--name=VALUE" at args[i]; false when args[i] is not that option.
bool takeOption(const std::vector<std::string>& args, std::size_t& i, const std::string& name, std::string& value,
                std::string& problem) {
    const std::string& a = args[i];
    if (a == name) {
        if (i + 1 >= args.size()) {
            problem = name + " needs a value";
            return true;
        }
        value = args[++i];
        return true;
    }
    if (a.rfind(name + "=", 0) == 0) {
        value = a.substr(name.size() + 1);
        return true;
    }
    return false;
}

int runList(ToolContext& ctx) {
    std::string file, category, language = "All", problem;
    bool haveCategory = false;
    for (std::size_t i = 0; i < ctx.args.size() && problem.empty(); ++i) {
        std::string value;
        if (takeOption(ctx.args, i, "--category", value, problem)) {
            category = value;
            haveCategory = true;
        } else if (takeOption(ctx.args, i, "--language", value, problem)) {
            language = value;
        } else if (ctx.args[i].rfind("--", 0) == 0) {
            problem = "unknown option '" + ctx.args[i] + "'";
        } else if (file.empty()) {
            file = ctx.args[i];
        } else {
            problem = "unexpected argument '" + ctx.args[i] + "'";
        }
    }
    if (problem.empty() && file.empty()) problem = "missing DATA.TXT";
    if (problem.empty() && !haveCategory) problem = "missing --category";
    if (!problem.empty()) return usageError(ctx, kListUsage, problem);

    ui::Form1 form;
    catalogue::NavigationState state;
    state.currentCategory = category;
    state.currentLanguage = language;
    state.languageRefresh = true;  // as a category switch does
    platform::MemorySettingsStore settings;
    FailureDialogs dialogs(ctx.err);
    localization::MessageTable messages(ctx.config.version);
    localization::addDefaultMessages(messages);
    const fs::path path(file);
    catalogue::CategoryView view(form, state, settings, dialogs, messages, path.parent_path(),
                                 ctx.config.version.productName);
    view.setCatalogueFile(path);
    view.LoadCategory();

    // The rows shown so far are printed even when the load stopped early,
    // as the window would show them.
    std::string out;
    const ui::ListView& list = *form.ListView1;
    for (int i = 0; i < list.count(); ++i) {
        const ui::ListItem& row = list.item(i);
        out += row.text + '\t' + row.tag + '\t' + row.subItem(1) + '\t' + row.subItem(2) + '\n';
    }
    if (!dialogs.failed) {
        out += "Languages:\n";
        for (const auto& entry : form.Combo1->entries()) out += entry + '\n';
    }
    ctx.out.write(out.data(), static_cast<std::streamsize>(out.size()));
    ctx.out.flush();
    return dialogs.failed || !ctx.out ? kFailed : kOk;
}

const ToolCommandRegistration fetchCommand(
    {"fetch", kFetchUsage,
     "print the body a GET of URL returns, as the program fetches it (http and https only); exit 1 when "
     "nothing was fetched",
     &runFetch});
const ToolCommandRegistration probeCommand(
    {"probe", kProbeUsage, "print 'online' or 'offline' as a click on a channel with that address would decide",
     &runProbe});
const ToolCommandRegistration listCommand(
    {"list", kListUsage,
     "print the channels a category switch lists (name, address, category, languages; TAB-separated), then "
     "'Languages:' and the language box entries, one a line",
     &runList});

}  // namespace
}  // namespace cd::tool
