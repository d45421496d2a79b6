// Formatting the records of an export on two threads at once.
#pragma once

#include <array>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "export/export_values.h"
#include "export/format_writer.h"
#include "export/pipeline/batch_output.h"

namespace quorlin {

// Writes the records of a format whose records depend on nothing but their number and values
// (see FormatWriter::RecordTwin). The calling thread and a helper each take the next lines of
// the input in turn, cut them and format them into memory with a writer of their own; the
// calling thread appends the formatted batches to the files in the order of their lines. So
// the formatting, which is most of an export's work, is shared by two processor cores.
class ParallelRecordWriting {
 public:
  // The next line of the input, valid until the next call; false at the end. Called by one
  // thread at a time.
  using LineSource = std::function<bool(std::string_view& line)>;
  // Cuts a line into values that are parts of it or of the thread's own `unescaped`; called
  // on both threads at once.
  using Cutter = std::function<void(std::string_view line, RecordValues& values, std::string& unescaped)>;

  // `twins` are writers of the format, opened here on files in memory; `files` are the sinks
  // of the real files, in the order the writers create theirs.
  ParallelRecordWriting(LineSource source, Cutter cut, std::array<std::unique_ptr<FormatWriter>, 2> twins,
                        std::vector<ByteSink*> files);
  // Stops the helper, waiting for the batch it is formatting.
  ~ParallelRecordWriting();
  ParallelRecordWriting(const ParallelRecordWriting&) = delete;
  ParallelRecordWriting& operator=(const ParallelRecordWriting&) = delete;

  // Writes every record, numbered from 1, calling `written` on this thread after each record's
  // bytes were handed to the files; gives the number of records. An error of the source, a
  // writer or a file is raised here, after the records before it were written.
  std::int64_t Run(const std::function<void()>& written);

 private:
  struct Batch {
    std::string lines;
    std::vector<std::size_t> lineEnds;
    std::vector<OutputBuffer> outputs;  // one per file
    std::int64_t sequence = 0;          // the batches' order in the input
    std::int64_t firstNumber = 0;
    std::size_t formatted = 0;  // records whose bytes are in the outputs
    std::exception_ptr error;   // raised after the formatted records
    bool last = false;          // no batch follows
  };
  struct Worker {
    std::unique_ptr<FormatWriter> writer;
    BatchOutputFiles files;
    RecordValues values;
    std::string unescaped;
  };

  bool Fill(Batch& batch);
  void Format(Worker& worker, Batch& batch);
  void Help();
  Batch* TakeWritable();
  void Release(Batch* batch);

  LineSource source_;
  Cutter cut_;
  std::vector<ByteSink*> files_;
  std::array<Worker, 2> workers_;
  std::vector<std::unique_ptr<Batch>> batches_;

  std::mutex inputMutex_;  // guards the source and the three members below
  bool inputEnded_ = false;
  std::int64_t nextSequence_ = 0;
  std::int64_t nextNumber_ = 1;

  std::mutex mutex_;  // guards the lists of batches and stopping_
  std::condition_variable changed_;
  std::vector<Batch*> free_;
  std::vector<Batch*> formatted_;
  bool stopping_ = false;
  std::thread helper_;
};

}  // namespace quorlin
