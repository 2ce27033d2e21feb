#include "cli/progressdisplay.h"

#include <unistd.h>

namespace cli {

namespace {

constexpr int kBarWidth = 30;

}  // namespace

ProgressDisplay::ProgressDisplay(std::FILE* out) : out_(out), terminal_(isatty(fileno(out)) != 0) {}

ProgressDisplay::~ProgressDisplay()
{
    Finish();
}

void ProgressDisplay::ShowStatus(const std::string& text)
{
    Finish();
    std::fprintf(out_, "%s\n", text.c_str());
    std::fflush(out_);
}

void ProgressDisplay::ShowProgress(int32_t done, int32_t total, const std::string& text)
{
    if (total <= 0) return;
    if (done < lastDone_) {
        lastTenth_ = -1;
        lastPermille_ = -1;
    }
    lastDone_ = done;
    if (terminal_) {
        DrawBar(done, total, text);
        return;
    }
    const int tenth = Tenth(done, total);
    if (tenth == lastTenth_) return;
    lastTenth_ = tenth;
    std::fprintf(out_, "%s\n", text.c_str());
    std::fflush(out_);
}

bool ProgressDisplay::IsDue(int32_t done, int32_t total) const
{
    if (total <= 0) return false;
    if (done < lastDone_) return true;
    if (terminal_) return Permille(done, total) != lastPermille_ || done == total;
    return Tenth(done, total) != lastTenth_;
}

void ProgressDisplay::DrawBar(int32_t done, int32_t total, const std::string& text)
{
    // Redrawing for every entry would cost more than the walk itself; a tenth of a percent is enough.
    const int permille = Permille(done, total);
    if (permille == lastPermille_ && done != total) return;
    lastPermille_ = permille;
    const int filled = permille * kBarWidth / 1000;
    std::fprintf(out_, "\r[%s%s] %3d%%  %s\033[K", std::string(filled, '#').c_str(),
                 std::string(kBarWidth - filled, ' ').c_str(), permille / 10, text.c_str());
    std::fflush(out_);
    barShown_ = true;
}

void ProgressDisplay::Finish()
{
    if (!barShown_) return;
    std::fprintf(out_, "\n");
    std::fflush(out_);
    barShown_ = false;
    lastPermille_ = -1;
}

}  // namespace cli
