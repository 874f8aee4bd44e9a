#pragma once

#include <QString>

namespace ortolan::bench {

// The databases of a run: the demo database of the build and the larger
// generated one (ten times the records), and where the summary goes.
struct BenchContext {
    QString appDir;        // the build's application folder (bin/)
    QString demoDatabase;  // bin/Data/OrtolanDati.mde
    QString largeDatabase; // generated with --scale 10; empty when absent
    QString reportPath;    // the summary table is also written here
    QString selfPath;      // this program, for the memory probe

    static BenchContext &instance();
    // Points the settings at one of the databases.
    void use(const QString &database) const;
};

}  // namespace ortolan::bench
