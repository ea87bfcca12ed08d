// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/posix/PosixSystemView.h"

#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/klog.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int kSyslogReadAll = 3; // SYSLOG_ACTION_READ_ALL
constexpr int kSyslogBufferSize = 10;
}

TPosixSystemView::TPosixSystemView(std::string root) : root_(std::move(root))
{
    while (!root_.empty() && root_.back() == '/')
        root_.pop_back();
}

std::string TPosixSystemView::Below(const std::string& path) const
{
    return root_ + path;
}

std::vector<std::string> TPosixSystemView::List(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(Below(folder).c_str());
    if (!dir)
        return names;
    while (dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    return names;
}

std::optional<std::string> TPosixSystemView::Read(const std::string& file)
{
    // Plain read(2): sysfs and /proc files report no size in advance.
    int fd = ::open(Below(file).c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        // Never read a device node: that could take bytes off a line.
        ::close(fd);
        return std::nullopt;
    }
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0 && text.size() < (1u << 20))
        text.append(buffer, static_cast<size_t>(n));
    ::close(fd);
    if (n < 0)
        return std::nullopt;
    return text;
}

std::optional<std::string> TPosixSystemView::LinkTarget(const std::string& path)
{
    char buffer[PATH_MAX];
    ssize_t n = ::readlink(Below(path).c_str(), buffer, sizeof buffer - 1);
    if (n < 0)
        return std::nullopt;
    return std::string(buffer, static_cast<size_t>(n));
}

std::optional<std::string> TPosixSystemView::Resolve(const std::string& path)
{
    char* resolved = ::realpath(Below(path).c_str(), nullptr);
    if (!resolved)
        return std::nullopt;
    std::string full = resolved;
    std::free(resolved);
    if (!root_.empty()) {
        if (full.compare(0, root_.size(), root_) != 0)
            return std::nullopt;
        full = full.substr(root_.size());
    }
    return full.empty() ? "/" : full;
}

bool TPosixSystemView::Exists(const std::string& path)
{
    struct stat st {};
    return ::lstat(Below(path).c_str(), &st) == 0;
}

std::optional<NodeInfo> TPosixSystemView::Node(const std::string& path)
{
    struct stat st {};
    if (::stat(Below(path).c_str(), &st) != 0)
        return std::nullopt;
    return NodeInfo{st.st_gid, static_cast<unsigned>(st.st_mode & 07777), S_ISCHR(st.st_mode)};
}

bool TPosixSystemView::MayOpen(const std::string& path)
{
    return ::access(Below(path).c_str(), R_OK | W_OK) == 0;
}

std::string TPosixSystemView::GroupName(unsigned gid)
{
    if (const group* g = ::getgrgid(gid))
        return g->gr_name;
    return std::to_string(gid);
}

UserGroups TPosixSystemView::User()
{
    UserGroups user;
    int count = ::getgroups(0, nullptr);
    std::vector<gid_t> session(static_cast<size_t>(count > 0 ? count : 0));
    count = ::getgroups(static_cast<int>(session.size()), session.data());
    for (int i = 0; i < count; ++i)
        user.session.push_back(session[static_cast<size_t>(i)]);
    user.session.push_back(::getegid());

    const passwd* pw = ::getpwuid(::getuid());
    if (!pw) {
        user.configured = user.session;
        return user;
    }
    user.name = pw->pw_name;
    int n = 64;
    std::vector<gid_t> configured(static_cast<size_t>(n));
    if (::getgrouplist(pw->pw_name, pw->pw_gid, configured.data(), &n) < 0) {
        configured.resize(static_cast<size_t>(n));
        ::getgrouplist(pw->pw_name, pw->pw_gid, configured.data(), &n);
    }
    for (int i = 0; i < n && i < static_cast<int>(configured.size()); ++i)
        user.configured.push_back(configured[static_cast<size_t>(i)]);
    return user;
}

std::optional<std::string> TPosixSystemView::KernelLog()
{
    if (!root_.empty())
        return std::nullopt; // a copied tree has no kernel
    int size = ::klogctl(kSyslogBufferSize, nullptr, 0);
    if (size <= 0)
        return std::nullopt;
    std::string text(static_cast<size_t>(size), '\0');
    int n = ::klogctl(kSyslogReadAll, text.data(), size);
    if (n < 0)
        return std::nullopt;
    text.resize(static_cast<size_t>(n));
    return text;
}
