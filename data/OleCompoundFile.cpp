#include "data/OleCompoundFile.h"

#include "data/DataError.h"

#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-utils.h>

#include <memory>
#include <mutex>

namespace ortolan::data {

namespace {

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GsfPtr = std::unique_ptr<T, ObjectUnref>;

}  // namespace

QByteArray OleCompoundFile::build(const QString &streamName, const QByteArray &stream)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { gsf_init(); });

    GsfPtr<GsfOutput> memory(gsf_output_memory_new());
    bool ok = false;
    {
        GsfPtr<GsfOutfile> ole(gsf_outfile_msole_new(memory.get()));
        GsfPtr<GsfOutput> child(gsf_outfile_new_child(ole.get(), streamName.toUtf8().constData(), FALSE));
        ok = child && gsf_output_write(child.get(), size_t(stream.size()), reinterpret_cast<const guint8 *>(stream.constData()));
        ok = child && gsf_output_close(child.get()) && ok;
        ok = gsf_output_close(GSF_OUTPUT(ole.get())) && ok;
    }
    if (!ok)
        throw DataError(QStringLiteral("Cannot build the compound file."));
    const auto *bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory.get()));
    const gsf_off_t size = gsf_output_size(memory.get());
    if (!bytes || size <= 0)
        throw DataError(QStringLiteral("Cannot build the compound file."));
    return QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(size));
}

}  // namespace ortolan::data
