#include "data/DbfMemoryFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace ortolan::data {

namespace {

thread_local DbfMemoryFiles *currentFiles = nullptr;

// An open in-memory file: the bytes live in the owning DbfMemoryFiles.
struct OpenFile {
    QByteArray *bytes;
    qint64 position;
};

OpenFile *fileOf(SAFile file)
{
    return reinterpret_cast<OpenFile *>(file);
}

SAFile openHook(const char *name, const char *access)
{
    DbfMemoryFiles *files = DbfMemoryFiles::current();
    if (!files || !name || !access)
        return nullptr;
    auto &map = files->files();
    const auto it = map.find(name);
    QByteArray *bytes = nullptr;
    if (access[0] == 'r') {
        if (it == map.end())
            return nullptr;
        bytes = &it->second;
    } else if (access[0] == 'w') {
        bytes = &map[name];
        bytes->clear();
    } else if (access[0] == 'a') {
        bytes = &map[name];
    } else {
        return nullptr;
    }
    const qint64 start = access[0] == 'a' ? bytes->size() : 0;
    return reinterpret_cast<SAFile>(new OpenFile{bytes, start});
}

SAOffset readHook(void *p, SAOffset size, SAOffset count, SAFile file)
{
    OpenFile *f = fileOf(file);
    if (size == 0)
        return 0;
    const qint64 available = std::max<qint64>(0, f->bytes->size() - f->position);
    const SAOffset items = std::min<SAOffset>(count, SAOffset(available) / size);
    std::memcpy(p, f->bytes->constData() + f->position, items * size);
    f->position += qint64(items * size);
    return items;
}

SAOffset writeHook(void *p, SAOffset size, SAOffset count, SAFile file)
{
    OpenFile *f = fileOf(file);
    const qint64 length = qint64(size * count);
    if (f->position + length > f->bytes->size())
        f->bytes->resize(f->position + length, '\0');
    std::memcpy(f->bytes->data() + f->position, p, size_t(length));
    f->position += length;
    return count;
}

SAOffset seekHook(SAFile file, SAOffset offset, int whence)
{
    OpenFile *f = fileOf(file);
    // shapelib passes offsets as unsigned; relative moves may be negative.
    const qint64 delta = static_cast<long>(offset);
    qint64 target = delta;
    if (whence == SEEK_CUR)
        target = f->position + delta;
    else if (whence == SEEK_END)
        target = f->bytes->size() + delta;
    if (target < 0)
        return SAOffset(-1);
    f->position = target;
    return 0;
}

SAOffset tellHook(SAFile file)
{
    return SAOffset(fileOf(file)->position);
}

int flushHook(SAFile)
{
    return 0;
}

int closeHook(SAFile file)
{
    delete fileOf(file);
    return 0;
}

int removeHook(const char *name)
{
    DbfMemoryFiles *files = DbfMemoryFiles::current();
    return files && files->files().erase(name) > 0 ? 0 : -1;
}

void errorHook(const char *message)
{
    if (DbfMemoryFiles *files = DbfMemoryFiles::current())
        files->setLastError(QString::fromUtf8(message));
}

}  // namespace

DbfMemoryFiles::DbfMemoryFiles() : previous_(currentFiles)
{
    SASetupDefaultHooks(&hooks_);  // keeps the default number parser (Atof)
    hooks_.FOpen = openHook;
    hooks_.FRead = readHook;
    hooks_.FWrite = writeHook;
    hooks_.FSeek = seekHook;
    hooks_.FTell = tellHook;
    hooks_.FFlush = flushHook;
    hooks_.FClose = closeHook;
    hooks_.Remove = removeHook;
    hooks_.Error = errorHook;
    currentFiles = this;
}

DbfMemoryFiles::~DbfMemoryFiles()
{
    currentFiles = previous_;
}

DbfMemoryFiles *DbfMemoryFiles::current()
{
    return currentFiles;
}

QByteArray DbfMemoryFiles::file(const std::string &name) const
{
    const auto it = files_.find(name);
    return it == files_.end() ? QByteArray() : it->second;
}

}  // namespace ortolan::data
