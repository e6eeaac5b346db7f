// The tool prints exactly one line per error, its own. The toolkit's image
// readers report what they refuse on stderr themselves ("libpng error: ...",
// allocation-limit notices); those words are dropped here before they are
// printed. Only a fatal message still goes through, as the program ends with it.
#include <QtGlobal>

namespace corvane::cli {
namespace {

QtMessageHandler g_previous = nullptr;

void DropToolkitMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg && g_previous) g_previous(type, context, message);
}

struct InstallFilter {
    InstallFilter() { g_previous = qInstallMessageHandler(DropToolkitMessages); }
} const kInstalled;

}  // namespace
}  // namespace corvane::cli
