// The fixed conversations the simulated Messages app shows: one iMessage
// conversation in the transcript (sent blue balloons, received gray ones and
// a few green ones sent as text messages when iMessage was not available, a
// link in each kind, runs of several balloons from one sender), and the rows
// of the conversation list.
#pragma once

#include <ChatKit/CKBalloonView.h>

#include <string>
#include <vector>

namespace chatkit {

struct SampleMessage {
    CK::BalloonKind kind;
    bool fromMe;
    std::string text;
    std::string link;  // the part of the text that is a link, or empty
};

// Messages under one timestamp. A note (such as "Text Message") stands above
// the timestamp; the day is drawn in bold.
struct SampleSection {
    std::string note;
    std::string day;
    std::string time;
    std::vector<SampleMessage> messages;
};

struct SampleConversation {
    std::string contactName;
    CK::BalloonKind kind;  // the conversation's own kind (its send button, recipient, progress)
    std::vector<SampleSection> sections;
    double sendingProgress;  // the last message is being sent
    std::string draft;       // typed in the entry field, not sent yet
};

const SampleConversation& sampleConversation();

// Whether each message of the conversation, in order, ends a run of one
// sender: the next message is from someone else or under a new timestamp.
std::vector<bool> sampleLastInRun(const SampleConversation& conversation);

struct SampleListRow {
    std::string name;
    std::string preview;
    std::string date;
};

const std::vector<SampleListRow>& sampleConversationList();

// "Mira Holt" -> "MH": the first letters of the first and last words.
std::string initials(const std::string& name);

}  // namespace chatkit
