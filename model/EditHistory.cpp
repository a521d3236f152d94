#include "model/EditHistory.h"

#include "model/ConfigDocument.h"

EditHistory::EditHistory(std::size_t depth) : depth_(depth) {}

void EditHistory::reset(const ConfigDocument& doc) {
    shown_ = DocumentSnapshot::capture(doc);
    started_ = true;
    undo_.clear();
    redo_.clear();
}

bool EditHistory::record(const ConfigDocument& doc) {
    if (!started_) {
        reset(doc);
        return false;
    }
    DocumentSnapshot now = DocumentSnapshot::capture(doc, held());
    if (now.sharesAllWith(shown_)) {
        return false;
    }
    undo_.push_back(std::move(shown_));
    if (undo_.size() > depth_) {
        undo_.pop_front();
    }
    shown_ = std::move(now);
    redo_.clear();
    return true;
}

bool EditHistory::undo(ConfigDocument& doc) {
    return step(doc, undo_, redo_);
}

bool EditHistory::redo(ConfigDocument& doc) {
    return step(doc, redo_, undo_);
}

bool EditHistory::step(ConfigDocument& doc, std::deque<DocumentSnapshot>& from,
                       std::deque<DocumentSnapshot>& to) {
    record(doc);
    if (from.empty()) {
        return false;
    }
    DocumentSnapshot target = std::move(from.back());
    from.pop_back();
    target.restoreOver(doc, shown_);
    to.push_back(std::move(shown_));
    shown_ = std::move(target);
    return true;
}

std::vector<const DocumentSnapshot*> EditHistory::held() const {
    std::vector<const DocumentSnapshot*> snapshots{&shown_};
    snapshots.reserve(1 + undo_.size() + redo_.size());
    for (auto step = undo_.rbegin(); step != undo_.rend(); ++step) {
        snapshots.push_back(&*step);
    }
    for (auto step = redo_.rbegin(); step != redo_.rend(); ++step) {
        snapshots.push_back(&*step);
    }
    return snapshots;
}

std::size_t EditHistory::bytesHeld() const {
    DocumentSnapshot::PartSizes parts;
    shown_.addParts(parts);
    for (const auto* stack : {&undo_, &redo_}) {
        for (const DocumentSnapshot& snapshot : *stack) {
            snapshot.addParts(parts);
        }
    }
    std::size_t bytes = sizeof(DocumentSnapshot) * (1 + undo_.size() + redo_.size());
    for (const auto& [part, size] : parts) {
        bytes += size;
    }
    return bytes;
}
