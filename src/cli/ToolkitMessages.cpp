// The tool prints exactly one line per error, its own. The libraries behind
// the toolkit's image readers report what they refuse on their own: Qt
// through its message handler ("allocation limit" notices), libpng straight
// to the process's stderr ("libpng error: ..."). So before main runs, the
// tool's own error stream is moved to a copy of stderr, and stderr itself
// to /dev/null; Qt's non-fatal messages are dropped and a fatal one still
// reaches the user, through the copy.
#include <cstdio>
#include <iostream>
#include <streambuf>

#include <fcntl.h>
#include <unistd.h>

#include <QString>
#include <QtGlobal>

namespace corvane::cli {
namespace {

// An unbuffered stream buffer writing to a file descriptor.
class DescriptorBuffer : public std::streambuf {
public:
    explicit DescriptorBuffer(int fd) : fd_(fd) {}

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        const char ch = traits_type::to_char_type(c);
        return Write(&ch, 1) ? c : traits_type::eof();
    }
    std::streamsize xsputn(const char* text, std::streamsize n) override { return Write(text, n) ? n : 0; }

private:
    bool Write(const char* text, std::streamsize n) {
        while (n > 0) {
            const ssize_t written = ::write(fd_, text, static_cast<std::size_t>(n));
            if (written <= 0) return false;
            text += written;
            n -= written;
        }
        return true;
    }
    int fd_;
};

int g_ownErrors = STDERR_FILENO;

void DropToolkitMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtFatalMsg) return;
    const QByteArray text = message.toLocal8Bit() + '\n';
    [[maybe_unused]] const ssize_t written = ::write(g_ownErrors, text.constData(), static_cast<std::size_t>(text.size()));
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

struct SilenceToolkit {
    SilenceToolkit() {
        qInstallMessageHandler(DropToolkitMessages);
        // A sanitizer's report goes to stderr too, and must not be lost.
        if (kSanitized) return;
        const int copy = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (copy < 0 || null < 0) return;  // stderr stays as it was: noisy, but nothing is lost
        ::dup2(null, STDERR_FILENO);
        ::close(null);
        g_ownErrors = copy;
        // Never freed: std::cerr may be flushed after every static object is gone.
        std::cerr.rdbuf(new DescriptorBuffer(copy));
    }
} const kSilenced;

}  // namespace
}  // namespace corvane::cli
