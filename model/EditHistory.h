#pragma once

#include "model/DocumentSnapshot.h"

#include <cstddef>
#include <deque>
#include <vector>

class ConfigDocument;

// Undo and redo over the user part of a document.  The history holds the
// document as it was after each step; a step is whatever changed the
// document between two calls of record(), so the caller records after each
// editing command and never has to say what the command did.
class EditHistory {
public:
    static constexpr std::size_t kDefaultDepth = 100;

    // `depth` steps can be undone; older ones are forgotten.
    explicit EditHistory(std::size_t depth = kDefaultDepth);

    // Starts over from the document as it is: nothing to undo or redo.
    void reset(const ConfigDocument& doc);

    // When the user part of `doc` changed since the last step, undo or redo,
    // that change becomes a step and whatever could be redone is dropped.
    // True when a step was added.
    bool record(const ConfigDocument& doc);

    // Takes a change not yet recorded as a step first, then puts the
    // document back as it was before the last step (after the next one); false,
    // and the document untouched, when there is none.
    bool undo(ConfigDocument& doc);
    bool redo(ConfigDocument& doc);

    std::size_t undoSteps() const { return undo_.size(); }
    std::size_t redoSteps() const { return redo_.size(); }
    // Approximate bytes of every snapshot held, shared parts counted once.
    std::size_t bytesHeld() const;

private:
    bool step(ConfigDocument& doc, std::deque<DocumentSnapshot>& from, std::deque<DocumentSnapshot>& to);
    // Every snapshot held, the shown one first, then the nearest steps.
    std::vector<const DocumentSnapshot*> held() const;

    std::size_t depth_;
    DocumentSnapshot shown_; // what the document holds as far as the history knows
    bool started_ = false;
    std::deque<DocumentSnapshot> undo_; // oldest first
    std::deque<DocumentSnapshot> redo_; // the next step to redo last
};
