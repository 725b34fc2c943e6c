// ChannelDeck: a desktop channel browser for internet TV, radio and video.
#include <unistd.h>

#include <QApplication>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "app/app_shell.h"
#include "app/instance_activation.h"
#include "app/startup_probe.h"
#include "mainwindow/activation_name.h"
#include "mainwindow/program_folder.h"
#include "mainwindow/single_instance.h"
#include "registry/machine_settings.h"

namespace {

void prepareWebEngine() {
    // Qt WebEngine's sandbox cannot start as root (as on build machines);
    // it must be told before the application object exists.
    if (::geteuid() == 0) ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
}

std::filesystem::path executableDir() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path() : exe.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
    auto config = cd::platform::Configuration::defaults();
    config.applyEnvironment();
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    std::string error;
    // Qt's own options (-platform, -style ...) are left over here, and left alone.
    const auto rest = config.applyArguments(args, &error);
    if (!error.empty()) {
        std::cerr << "channeldeck: " << error << "\n";
        return 2;
    }
    bool measure = false;
    for (const auto& a : rest) {
        if (a == "--help" || a == "-h") {
            std::cout << "usage: channeldeck [OPTIONS]\n\nOptions:\n"
                      << cd::platform::Configuration::optionsHelp() << "  --measure-startup" << std::string(17, ' ')
                      << "print start-up times and memory once the main window shows, then close\n";
            return 0;
        }
        if (a == "--measure-startup") measure = true;
    }

    const auto exeDir = executableDir();
    cd::mainwindow::ProgramFolderInputs in;
    in.dataDirOption = config.dataDir;
    in.executableDir = exeDir;
    if (const char* x = std::getenv("XDG_DATA_HOME")) in.xdgDataHome = x;
    if (const char* h = std::getenv("HOME")) in.home = h;
    in.installedData = exeDir.parent_path() / "share" / "channeldeck";
    const auto folder = cd::mainwindow::ResolveProgramFolder(in);

    // The single-instance step comes before anything of this run is shown or
    // written, Qt and its web engine included: a second instance leaves the
    // running one's windows and files alone.
    auto instance = cd::mainwindow::SingleInstance::claim(folder);
    const QString activation = QString::fromStdString(cd::mainwindow::ActivationSocketName(folder));
    if (instance.anotherInstanceRuns()) {
        // No window, no web engine: only the message to the running one.
        QCoreApplication messenger(argc, argv);
        const bool reached = cd::app::SendActivate(activation, 2000);
        std::cerr << "channeldeck: " << config.version.productName << " is already running for " << folder.string()
                  << (reached ? "; its window was brought to the front" : "") << "\n";
        return 0;
    }

    prepareWebEngine();
    // Qt WebEngine and the mpv GL widget share one GL context family.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    // libmpv needs C number formatting; QApplication has just set the locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QString::fromStdString(config.version.productName));

    cd::app::AppShell shell(config, folder, cd::registry::defaultRegistryDir());
    shell.program().adoptInstanceLock(std::move(instance));
    cd::app::ActivationServer activationServer(activation, [&shell] { cd::app::BringToFront(shell.mainView()); });
    QObject::connect(&shell, &cd::app::AppShell::finished, &app, &QApplication::quit);
    if (measure) cd::app::measureStartup(shell, std::cout);
    shell.start();
    return app.exec();
}
