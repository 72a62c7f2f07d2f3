#include <ChatKit/SampleConversation.h>

#include <sstream>

namespace chatkit {

using K = CK::BalloonKind;

const SampleConversation& sampleConversation() {
    static const SampleConversation conversation{
        "Mira Holt",
        K::Blue,
        {
            {"Text Message",
             "Yesterday",
             "8:20 PM",
             {
                 {K::Green, true, "No signal at the dunes", ""},
                 {K::Green, true, "At maps.invalid/dunes", "maps.invalid/dunes"},
             }},
            {"",
             "Today",
             "9:41 AM",
             {
                 {K::Gray, false, "Beach on Saturday?", ""},
                 {K::Gray, false, "Forecast: sun.invalid", "sun.invalid"},
                 {K::Blue, true, "Count me in!", ""},
                 {K::Blue, true, "Photos: pics.invalid/sea", "pics.invalid/sea"},
                 {K::Gray, false, "Perfect, see you at ten", ""},
                 {K::Blue, true, "On my way", ""},
             }},
        },
        0.65,
        "Bringing snacks",
    };
    return conversation;
}

std::vector<bool> sampleLastInRun(const SampleConversation& conversation) {
    std::vector<bool> last;
    for (const SampleSection& section : conversation.sections) {
        for (std::size_t i = 0; i < section.messages.size(); ++i) {
            bool end = i + 1 == section.messages.size() || section.messages[i + 1].fromMe != section.messages[i].fromMe;
            last.push_back(end);
        }
    }
    return last;
}

const std::vector<SampleListRow>& sampleConversationList() {
    static const std::vector<SampleListRow> rows{
        {"Mira Holt", "On my way", "9:41 AM"},
        {"Jonas Weber", "The keys are under the mat, see you tomorrow", "Yesterday"},
        {"Aiko Tanaka", "Thanks for dinner! Next time it is on me.", "Saturday"},
        {"Luca Moretti", "Did you see the match last night?", "Friday"},
        {"Sofia Lindqvist", "Photo", "Thursday"},
        {"Omar Haddad", "Running ten minutes late, sorry", "12/3/14"},
    };
    return rows;
}

std::string initials(const std::string& name) {
    std::istringstream words(name);
    std::string word, first, last;
    while (words >> word) {
        if (first.empty()) {
            first = word;
        } else {
            last = word;
        }
    }
    std::string out;
    if (!first.empty()) out += first[0];
    if (!last.empty()) out += last[0];
    return out;
}

}  // namespace chatkit
