#pragma once

#include <memory>
#include <vector>

#include "accounting_core/BooksStatement.h"
#include "accounting_core/CoreResult.h"

// A cursor of a set object's walk (ClSetData, ClSetKamoku). The set object
// that handed it out owns it until the caller releases it; callers hold it
// only as an opaque handle.
//
// Life of a walk: Ready fixes the data set; the first walk call prepares
// the statement with the conditions of that call, which stay fixed until the
// next Ready; Finish drops the statement at the end, so that further walk
// calls keep answering "no record left" instead of SQLite starting over.
class SetCursor {
public:
    void Ready(int dataSet) {
        dataSet_ = dataSet;
        ready_ = true;
        finished_ = false;
        statement_.reset();
        conditions_.clear();
    }
    void Start(std::unique_ptr<BooksStatement> statement, std::vector<unsigned char> conditions) {
        statement_ = std::move(statement);
        conditions_ = std::move(conditions);
    }
    void Finish() {
        statement_.reset();
        finished_ = true;
    }

    bool IsReady() const { return ready_; }
    bool IsStarted() const { return statement_ != nullptr || finished_; }
    bool IsFinished() const { return finished_; }
    int DataSet() const { return dataSet_; }
    BooksStatement* Statement() const { return statement_.get(); }
    // Steps the walk's statement: fill(row) and kOk for a record, kEndOfSet
    // at the end, kBooksError when the books fail; both end the walk.
    template <typename Fill>
    int Step(Fill fill) {
        switch (statement_->Step()) {
        case BooksStatement::StepResult::Row:
            fill(*statement_);
            return core_result::kOk;
        case BooksStatement::StepResult::Done:
            Finish();
            return core_result::kEndOfSet;
        case BooksStatement::StepResult::Error:
            break;
        }
        Finish();
        return core_result::kBooksError;
    }

    // The bytes of the find conditions the walk started with; empty for all records.
    const std::vector<unsigned char>& Conditions() const { return conditions_; }

private:
    int dataSet_ = 0;
    bool ready_ = false;
    bool finished_ = false;
    std::unique_ptr<BooksStatement> statement_;
    std::vector<unsigned char> conditions_;
};
