#include "sandbox.h"

#include "clock.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

extern char **environ;

namespace windowbench {

TemporaryFolder::TemporaryFolder(const fs::path &base)
{
    std::string pattern = (base / "quendril-bench.XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        fail("cannot make a temporary folder under " + base.string());
    path = pattern;
}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

Workspace::Workspace()
    : m_homes("/tmp")
    , m_runtimes(fs::is_directory("/dev/shm") ? "/dev/shm" : "/tmp")
    , m_places { m_homes.path, m_runtimes.path }
{
    if (!std::getenv("QUENDRIL_BROWSER_RECORD"))
        fail("run on the tests' private desktop, with its browser stand-in: bench/run.sh");
}

void Child::stop()
{
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGKILL);
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) { }
    m_pid = 0;
}

Sandbox::Sandbox(const Places &places, const std::string &name, const fs::path &program, const fs::path &seedConfig)
    : m_dir(places.homes / name)
    , m_runtime(places.runtimes / name)
    , m_settingsName(program.stem())
{
    fs::create_directories(home() / ".config");
    fs::create_directories(runtime());
    fs::permissions(runtime(), fs::perms::owner_all, fs::perm_options::replace);
    if (!seedConfig.empty()) {
        fs::create_directories(settingsFile().parent_path());
        fs::copy_file(seedConfig, settingsFile());
    }
    m_env = {
        "HOME=" + home().string(),
        "XDG_CONFIG_HOME=" + (home() / ".config").string(),
        "XDG_CACHE_HOME=" + (home() / ".cache").string(),
        "XDG_DATA_HOME=" + (home() / ".local/share").string(),
        "XDG_RUNTIME_DIR=" + runtime().string(),
    };
    for (char **entry = environ; *entry; ++entry) {
        const std::string variable = *entry;
        const std::string name = variable.substr(0, variable.find('='));
        if (name != "HOME" && name.rfind("XDG_", 0) != 0)
            m_env.push_back(variable);
    }
}

Sandbox::~Sandbox()
{
    std::error_code ignored;
    fs::remove_all(m_dir, ignored);
    fs::remove_all(m_runtime, ignored);
}

Child Sandbox::spawn(const fs::path &program) const
{
    std::vector<char *> env;
    for (const std::string &variable : m_env)
        env.push_back(const_cast<char *>(variable.c_str()));
    env.push_back(nullptr);
    const std::string path = program.string();
    char *argv[] = { const_cast<char *>(path.c_str()), nullptr };
    pid_t pid = 0;
    if (const int error = posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, env.data()))
        fail("cannot start " + path + ": " + std::strerror(error));
    return Child(pid);
}

} // namespace windowbench
