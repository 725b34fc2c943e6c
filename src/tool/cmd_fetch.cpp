// Network and category-view commands: a fetch as the program fetches, the
// online probe of a channel click, and the list a category switch shows. They
// run the program's own fetcher and category view on a window model that is
// never shown; the message box of a failed load becomes a line on stderr.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "catalogue/catalogue_download.h"
#include "catalogue/category_view.h"
#include "catalogue/navigation_state.h"
#include "fetch/http_client.h"
#include "fetch/stream_probe.h"
#include "formats/search_filter.h"
#include "localization/message_table.h"
#include "platform/dialogs.h"
#include "platform/memory_settings_store.h"
#include "platform/poll_event_loop.h"
#include "tool/command.h"
#include "tool/stderr_dialogs.h"
#include "ui/main_window.h"

namespace cd::tool {
namespace {

namespace fs = std::filesystem;

constexpr const char* kFetchUsage = "fetch URL [--max-bytes N]";
constexpr const char* kProbeUsage = "probe URL";
constexpr const char* kDownloadUsage = "download DATA.TXT";
/// What "fetch" reads at most unless told otherwise.
constexpr std::size_t kDefaultFetchCap = 64u << 20;
constexpr const char* kListUsage = "list DATA.TXT --category CATEGORY [--language LANGUAGE] [--search TEXT]";

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

/// Runs task on loop until it ends; the tool has nothing else to do meanwhile.
template <typename T>
T runToEnd(platform::PollEventLoop& loop, util::Task<T> task) {
    task.start();
    loop.runUntil([&task] { return task.done(); }, std::chrono::hours(24 * 365));
    return task.result();
}

util::Task<fetch::FetchResult> fetchWhole(fetch::Fetcher& fetcher, fetch::FetchRequest request) {
    co_return co_await fetch::fetchAsync(fetcher, std::move(request));
}

bool parseSize(const std::string& text, std::size_t& value) {
    if (text.empty() || text.size() > 15) return false;
    std::size_t v = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<std::size_t>(c - '0');
    }
    value = v;
    return v > 0;
}

int runFetch(ToolContext& ctx) {
    std::string address, problem;
    std::size_t cap = kDefaultFetchCap;
    for (std::size_t i = 0; i < ctx.args.size() && problem.empty(); ++i) {
        std::string value;
        if (takeOption(ctx.args, i, "--max-bytes", value, problem)) {
            if (problem.empty() && !parseSize(value, cap)) problem = "--max-bytes needs a positive number of bytes";
        } else if (ctx.args[i].rfind("--", 0) == 0) {
            problem = "unknown option '" + ctx.args[i] + "'";
        } else if (address.empty()) {
            address = ctx.args[i];
        } else {
            problem = "too many arguments";
        }
    }
    if (problem.empty() && address.empty()) problem = "missing URL";
    if (!problem.empty()) return usageError(ctx, kFetchUsage, problem);

    platform::PollEventLoop loop;
    fetch::HttpClient client(loop);
    fetch::FetchRequest request;
    request.address = address;
    // Someone runs this and watches it: no deadline, but a crawl or an
    // endless body ends.
    request.bounds = fetch::watchedBounds(cap);
    const fetch::FetchResult result = runToEnd(loop, fetchWhole(client, std::move(request)));
    ctx.out.write(result.body.data(), static_cast<std::streamsize>(result.body.size()));
    ctx.out.flush();
    if (result.error == fetch::FetchError::TooLarge) {
        ctx.err << "channeldeck-tool: the body is larger than " << cap << " bytes (--max-bytes); nothing printed\n";
        return kFailed;
    }
    if (result.error != fetch::FetchError::None) {
        ctx.err << "channeldeck-tool: " << (result.gotHead ? "cut short: " : "nothing fetched: ")
                << fetch::describe(result.error) << (result.errorText.empty() ? "" : " (" + result.errorText + ")")
                << "\n";
        return kFailed;
    }
    // An empty body is not an error of the fetch, but a script wants to know.
    if (result.body.empty()) {
        ctx.err << "channeldeck-tool: the body is empty (HTTP " << result.head.status << ")\n";
        return kFailed;
    }
    return ctx.out ? kOk : kFailed;
}

int runDownload(ToolContext& ctx) {
    if (ctx.args.size() != 1)
        return usageError(ctx, kDownloadUsage, ctx.args.empty() ? "missing DATA.TXT" : "too many arguments");
    platform::PollEventLoop loop;
    fetch::HttpClient client(loop);
    const std::string address = catalogue::channelListAddress(ctx.config.hosts.catalogue, ctx.config.catalogueListPath);
    const catalogue::DownloadResult result =
        runToEnd(loop, catalogue::downloadChannelList(client, address, ctx.args[0]));
    const bool ok = result.outcome == catalogue::DownloadOutcome::Replaced ||
                    result.outcome == catalogue::DownloadOutcome::Unchanged;
    (ok ? ctx.out : ctx.err) << (ok ? "" : "channeldeck-tool: ") << catalogue::describe(result) << "\n";
    return ok ? kOk : kFailed;
}

int runProbe(ToolContext& ctx) {
    if (ctx.args.size() != 1)
        return usageError(ctx, kProbeUsage, ctx.args.empty() ? "missing URL" : "too many arguments");
    platform::PollEventLoop loop;
    fetch::HttpClient client(loop);
    const fetch::ProbeVerdict verdict = runToEnd(loop, fetch::probeStream(client, ctx.args[0]));
    ctx.out << (verdict.online ? "online" : "offline") << "\n" << fetch::describe(verdict) << "\n";
    return kOk;
}

int runList(ToolContext& ctx) {
    std::string file, category, language = "All", search, problem;
    bool haveCategory = false;
    for (std::size_t i = 0; i < ctx.args.size() && problem.empty(); ++i) {
        std::string value;
        if (takeOption(ctx.args, i, "--category", value, problem)) {
            category = value;
            haveCategory = true;
        } else if (takeOption(ctx.args, i, "--language", value, problem)) {
            language = value;
        } else if (takeOption(ctx.args, i, "--search", value, problem)) {
            search = value;
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

    ui::MainWindow form;
    catalogue::NavigationState state;
    state.currentCategory = category;
    state.currentLanguage = language;
    state.languageRefresh = true;  // as a category switch does
    platform::MemorySettingsStore settings;
    StderrDialogs dialogs(ctx.err);
    localization::MessageTable messages(ctx.config.version);
    localization::addDefaultMessages(messages);
    const fs::path path(file);
    catalogue::CategoryView view(form, state, settings, dialogs, messages, path.parent_path(),
                                 ctx.config.version.productName);
    view.setCatalogueFile(path);
    view.LoadCategory();

    // The rows shown so far are printed even when the load stopped early,
    // as the window would show them; a search shows those of them whose
    // names match, through the index a list keeps for its search field.
    std::string out;
    const ui::ListView& list = *form.channelList;
    formats::SearchIndex index;
    index.reserve(static_cast<std::size_t>(list.count()), 0);
    for (int i = 0; i < list.count(); ++i) index.add(list.item(i).text);
    for (const std::uint32_t i : index.find(search)) {
        const ui::ListItem& row = list.item(static_cast<int>(i));
        out += row.text + '\t' + row.tag + '\t' + row.subItem(1) + '\t' + row.subItem(2) + '\n';
    }
    if (!dialogs.shown) {
        out += "Languages:\n";
        for (const auto& entry : form.languageBox->entries()) out += entry + '\n';
    }
    ctx.out.write(out.data(), static_cast<std::streamsize>(out.size()));
    ctx.out.flush();
    return dialogs.shown || !ctx.out ? kFailed : kOk;
}

const ToolCommandRegistration fetchCommand(
    {"fetch", kFetchUsage,
     "print the body a GET of URL returns, as the program fetches it (http and https only; at most 64 MiB "
     "unless --max-bytes says otherwise; ends when slower than 1 KiB/s over 30 s); exit 1 when nothing or "
     "only part of it was fetched",
     &runFetch});
const ToolCommandRegistration downloadCommand(
    {"download", kDownloadUsage,
     "replace DATA.TXT with the channel list published on the catalogue host (--catalogue-host, "
     "--catalogue-list-path), as File > Download Most Recent Channel List does; asks only whether it changed "
     "when DATA.TXT is the last download's; exit 1, leaving DATA.TXT whole, when no channel list came",
     &runDownload});
const ToolCommandRegistration probeCommand(
    {"probe", kProbeUsage,
     "print 'online' or 'offline' as a click on a channel with that address would decide, then the reason "
     "on a second line",
     &runProbe});
const ToolCommandRegistration listCommand(
    {"list", kListUsage,
     "print the channels a category switch lists (name, address, category, languages; TAB-separated), only "
     "those whose names contain TEXT (ignoring letter case and accents) with --search, then 'Languages:' and "
     "the language box entries, one a line",
     &runList});

}  // namespace
}  // namespace cd::tool
