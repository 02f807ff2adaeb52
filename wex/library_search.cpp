// library_search.cpp: proves, cheaply, that the dynamic loader cannot find an optional library's file.
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "wex/library.h"

/* An optional library that is not installed costs fifty failing dlopen calls, one per numbered
 * name, and a failing dlopen of a bare name is not cheap: each maps and unmaps /etc/ld.so.cache
 * and tries the name in every directory of the search list, some twenty microseconds here.  So
 * before such a name goes to dlopen we ask whether the loader could find it at all.
 *
 * The loader finds a bare name in three ways: an object already loaded under that name or
 * soname; an entry of /etc/ld.so.cache; a file in a directory of its search list (RPATH,
 * LD_LIBRARY_PATH, RUNPATH, the system directories) or in one of the capability subdirectories
 * it tries inside each (glibc-hwcaps/<level>/, and the older tls/, x86_64/, haswell/ ... chains).
 * The cache's names that begin with an optional library's stem are read once (again when the
 * file changes); the loaded objects' names and sonames whenever objects have been loaded or
 * unloaded; and the directories to look in at each locator's run, the same directory reached
 * by two paths (/lib and /usr/lib) counted once.  A name is then looked up in each directory
 * with lstat, under a microsecond: listing the directories instead would cost more than it saves,
 * the system ones holding more than a thousand files.  A name found in none of these cannot be
 * opened; any other name goes to dlopen, which decides as before.
 *
 * The answer "absent" has to be certain, so every doubt turns the check off: a cache that is
 * missing or of a format we do not know, a search list dlinfo does not give, a directory that
 * cannot be searched, an audit module (it may rewrite the names searched), an object whose
 * dynamic section we cannot read.  The legacy capability names are those of x86-64; elsewhere
 * the check stays off. */

namespace wex {
namespace {

bool has_optional_stem(std::string_view name) {
    return std::any_of(std::begin(WEX_LIBRARY_ENTRIES), std::end(WEX_LIBRARY_ENTRIES), [name](const LibraryEntry& library) {
        return !library.missing && name.starts_with(library.stem);
    });
}

void keep(std::vector<std::string>& names, std::string_view name) {
    if (has_optional_stem(name)) names.emplace_back(name);
}

bool contains(const std::vector<std::string>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Whether a directory entry of that name may exist: false only when the lookup says it does not.
bool may_exist(const std::string& path) {
    struct stat status;
    return lstat(path.c_str(), &status) == 0 || (errno != ENOENT && errno != ENOTDIR);
}

bool read_file(const char* path, std::string& contents) {
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char block[65536];
    ssize_t length;
    while ((length = read(fd, block, sizeof block)) > 0) contents.append(block, size_t(length));
    close(fd);
    return length == 0;
}

template <class T> bool read_at(std::string_view data, size_t offset, T& value) {
    if (offset > data.size() || data.size() - offset < sizeof value) return false;
    std::memcpy(&value, data.data() + offset, sizeof value);
    return true;
}

/* The cache: an optional old part ("ld.so-1.7.0", a count, 12-byte entries) and, 8-aligned after
 * it, the part the loader reads: "glibc-ld.so.cache1.1", the entry count, and 24-byte entries
 * whose key is the offset of the library's name from the start of that part. */
constexpr const char* CACHE = "/etc/ld.so.cache";
constexpr std::string_view OLD_CACHE = "ld.so-1.7.0", NEW_CACHE = "glibc-ld.so.cache1.1";
constexpr size_t NEW_HEADER = 48, NEW_ENTRY = 24, OLD_HEADER = 16, OLD_ENTRY = 12;

bool read_cache(std::vector<std::string>& names) {
    std::string file;
    if (!read_file(CACHE, file)) return false;
    std::string_view data = file;
    if (data.starts_with(OLD_CACHE)) {
        uint32_t old_count;
        if (!read_at(data, OLD_CACHE.size() + 1, old_count)) return false;
        const size_t start = (OLD_HEADER + size_t(old_count) * OLD_ENTRY + 7) & ~size_t(7);
        if (start > data.size()) return false;
        data.remove_prefix(start);
    }
    uint32_t count;
    if (!data.starts_with(NEW_CACHE) || !read_at(data, NEW_CACHE.size(), count)) return false;
    for (size_t i = 0; i < count; ++i) {
        uint32_t key;
        if (!read_at(data, NEW_HEADER + i * NEW_ENTRY + 4, key) || key >= data.size()) return false;
        const std::string_view rest = data.substr(key);
        const size_t end = rest.find('\0');
        if (end == rest.npos) return false;
        keep(names, rest.substr(0, end));
    }
    return true;
}

// The cache's names, and the file's identity and time when they were read.
struct CacheNames {
    bool read = false, certain = false;
    struct stat file{};
    std::vector<std::string> names;
};

bool same_file(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

void refresh_cache(CacheNames& cache) {
    struct stat now;
    if (stat(CACHE, &now) != 0) {
        cache = {true, false, {}, {}};
        return;
    }
    if (cache.read && same_file(cache.file, now)) return;
    cache = {true, false, now, {}};
    cache.certain = read_cache(cache.names);
}

/* The directories to look in: the loader's search list for names the program opens, as dlinfo
 * gives it (the toolkit is linked into the program, so its dlopen searches as the program's),
 * and the capability subdirectories present in each.  Inside glibc-hwcaps every subdirectory
 * counts; elsewhere those with a legacy capability name, to the depth of the longest chain
 * (tls/haswell/avx512_1/x86_64). */
constexpr std::string_view HWCAPS = "glibc-hwcaps";
constexpr const char* CAPABILITIES[] = {"glibc-hwcaps", "tls", "x86_64", "haswell", "xeon_phi", "avx512_1"};
constexpr int CAPABILITY_DEPTH = 4;

bool search_list(std::vector<std::string>& directories) {
    void* program = dlopen(nullptr, RTLD_LAZY);
    Dl_serinfo size;
    if (!program || dlinfo(program, RTLD_DI_SERINFOSIZE, &size) != 0) return false;
    std::vector<std::max_align_t> space(size.dls_size / sizeof(std::max_align_t) + 1);
    auto* list = reinterpret_cast<Dl_serinfo*>(space.data());
    *list = size;
    if (dlinfo(program, RTLD_DI_SERINFO, list) != 0) return false;
    for (unsigned i = 0; i < list->dls_cnt; ++i) directories.emplace_back(list->dls_serpath[i].dls_name);
    return true;
}

struct Directories {
    bool certain = true;
    std::vector<std::string> paths;
    std::vector<std::pair<dev_t, ino_t>> seen;
};

void add_directory(const std::string& path, int depth, Directories& found);

// The levels inside glibc-hwcaps, each a directory the loader may look in; it looks no deeper.
void add_hwcaps_levels(const std::string& path, Directories& found) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(path.c_str()), closedir);
    if (!dir) {
        found.certain = false;
        return;
    }
    while (const dirent* entry = readdir(dir.get()))
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            add_directory(path + "/" + entry->d_name, CAPABILITY_DEPTH, found);
}

// A directory that exists, once however it is reached, with its capability subdirectories.
void add_directory(const std::string& path, int depth, Directories& found) {
    struct stat status;
    if (stat(path.c_str(), &status) != 0) {
        found.certain = found.certain && (errno == ENOENT || errno == ENOTDIR);
        return;
    }
    const std::pair<dev_t, ino_t> identity{status.st_dev, status.st_ino};
    if (!S_ISDIR(status.st_mode) || std::find(found.seen.begin(), found.seen.end(), identity) != found.seen.end())
        return;
    found.seen.push_back(identity);
    found.paths.push_back(path);
    if (depth == CAPABILITY_DEPTH) return;
    if (path.ends_with(HWCAPS)) return add_hwcaps_levels(path, found);
    for (const char* capability : CAPABILITIES) add_directory(path + "/" + capability, depth + 1, found);
}

Directories search_directories() {
    Directories found;
    std::vector<std::string> list;
    found.certain = search_list(list);
    for (const std::string& directory : list) add_directory(directory, 0, found);
    return found;
}

/* The loaded objects: their file names and sonames.  The soname is read from the dynamic
 * section in memory, whose string table address the loader may or may not have relocated:
 * the reading that falls inside the object's own segments is taken, and one that does not
 * leaves the check in doubt. */
struct LoadedNames {
    bool certain = true;
    std::vector<std::string> names;
};

bool in_segments(const dl_phdr_info& info, ElfW(Addr) address) {
    for (int i = 0; i < info.dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info.dlpi_phdr[i];
        const ElfW(Addr) start = info.dlpi_addr + segment.p_vaddr;
        if (segment.p_type == PT_LOAD && address >= start && address - start < segment.p_memsz) return true;
    }
    return false;
}

bool add_soname(const dl_phdr_info& info, const ElfW(Phdr)& dynamic, LoadedNames& loaded) {
    ElfW(Addr) strings = 0, size = 0, soname = 0;
    bool has_soname = false;
    const auto* entry = reinterpret_cast<const ElfW(Dyn)*>(info.dlpi_addr + dynamic.p_vaddr);
    for (size_t i = 0; i < dynamic.p_memsz / sizeof *entry && entry[i].d_tag != DT_NULL; ++i) {
        if (entry[i].d_tag == DT_STRTAB) strings = entry[i].d_un.d_ptr;
        if (entry[i].d_tag == DT_STRSZ) size = entry[i].d_un.d_val;
        if (entry[i].d_tag == DT_SONAME) has_soname = true, soname = entry[i].d_un.d_val;
    }
    if (!has_soname) return true;
    if (!in_segments(info, strings)) strings += info.dlpi_addr;
    if (soname >= size || !in_segments(info, strings) || !in_segments(info, strings + size - 1)) return false;
    const char* name = reinterpret_cast<const char*>(strings + soname);
    const size_t length = strnlen(name, size - soname);
    if (length == size - soname) return false;
    keep(loaded.names, {name, length});
    return true;
}

int add_loaded_object(dl_phdr_info* info, size_t, void* data) {
    auto& loaded = *static_cast<LoadedNames*>(data);
    const std::string_view path = info->dlpi_name ? info->dlpi_name : "";
    keep(loaded.names, path.substr(path.rfind('/') + 1));
    for (int i = 0; i < info->dlpi_phnum; ++i)
        if (info->dlpi_phdr[i].p_type == PT_DYNAMIC && !add_soname(*info, info->dlpi_phdr[i], loaded))
            loaded.certain = false;
    return 0;
}

// How many objects have been loaded and unloaded so far; the loaded names change with them.
struct LoadCount {
    unsigned long long adds = 0, subs = 0;
    bool operator==(const LoadCount&) const = default;
};
int read_load_count(dl_phdr_info* info, size_t size, void* data) {
    if (size >= offsetof(dl_phdr_info, dlpi_subs) + sizeof info->dlpi_subs)
        *static_cast<LoadCount*>(data) = {info->dlpi_adds, info->dlpi_subs};
    return 1;
}

void refresh_loaded(LoadedNames& loaded, LoadCount& count) {
    LoadCount now;
    dl_iterate_phdr(read_load_count, &now);
    if (now == count && now != LoadCount{}) return;
    loaded = {};
    dl_iterate_phdr(add_loaded_object, &loaded);
    count = now;
}

// What the check knows for the current locator's run.
struct Known {
    CacheNames cache;
    LoadedNames loaded;
    LoadCount load_count;
    Directories directories;
};
Known known;
}  // namespace

bool wex_library_search_ready() {
#if defined(__x86_64__) && defined(__GLIBC__)
    if (std::getenv("LD_AUDIT")) return false;
    refresh_cache(known.cache);
    refresh_loaded(known.loaded, known.load_count);
    known.directories = search_directories();
    return known.cache.certain && known.loaded.certain && known.directories.certain;
#else
    return false;
#endif
}

bool wex_library_may_be_found(const char* name) {
    if (std::strchr(name, '/') || !has_optional_stem(name)) return true;
    if (contains(known.cache.names, name) || contains(known.loaded.names, name)) return true;
    return std::any_of(known.directories.paths.begin(), known.directories.paths.end(),
                       [name](const std::string& directory) { return may_exist(directory + "/" + name); });
}
}  // namespace wex
