#pragma once
// Internal to image/jpeg: the decompression record and every call into the JPEG library, with
// the library's fatal-error jump turned into EJPEG here and nowhere else. Only the decoder
// includes it.

#include <algorithm>
#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <exception>
#include <span>
#include <utility>
#include <vector>

#include <jpeglib.h>
// jerror.h after jpeglib.h: it names the message codes.
#include <jerror.h>

#include "image/jpeg/EJPEG.h"
#include "image/jpeg/JPEGDecoder.h"

namespace image::detail {

// What a user sees for data that does not start with the start-of-image marker, whatever the
// library calls that case in its own numbering.
constexpr int kNotAJPEGCode = 53;

constexpr int kMaxScans = 1000;
constexpr auto kProgressInterval = std::chrono::milliseconds(500);

// Owns one decompression record and is the only way to call into the library. A fatal error
// inside a library call longjmps back into Guard, which turns it into an exception there, in our
// own frame: no C++ exception ever travels through the library's C frames, and the frames the
// jump skips (the library's and the lambda's) hold nothing that needs destroying.
class TDecodeContext {
public:
    TDecodeContext(std::span<const std::uint8_t> data, const TJPEGProgressHandler* handler)
        : m_handler(handler) {
        // The standard memory source: the library reads the bytes where they lie and, at their
        // end, pretends an end-of-image marker with a warning.
        Open([&] { Guard([&] { jpeg_mem_src(&m_info, data.data(), data.size()); }); });
    }
    // Over bytes a reader hands out piece by piece, so a large file never has to be held whole.
    TDecodeContext(TJPEGReader reader, const TJPEGProgressHandler* handler)
        : m_handler(handler), m_reader(std::move(reader)) {
        Open([&] {
            m_readerBuffer.resize(kReaderBufferSize);
            m_source.init_source = [](j_decompress_ptr) {};
            m_source.fill_input_buffer = FillFromReader;
            m_source.skip_input_data = SkipFromReader;
            m_source.resync_to_restart = jpeg_resync_to_restart;
            m_source.term_source = [](j_decompress_ptr) {};
            m_info.src = &m_source;
        });
    }
    ~TDecodeContext() { jpeg_destroy_decompress(&m_info); }
    TDecodeContext(const TDecodeContext&) = delete;
    TDecodeContext& operator=(const TDecodeContext&) = delete;

    jpeg_decompress_struct& Info() { return m_info; }
    int Warnings() const { return m_warnings; }

    template <class Call> auto Guard(Call call) -> decltype(call()) {
        if (setjmp(m_jump) != 0) {
            if (m_failure) {
                std::rethrow_exception(std::exchange(m_failure, nullptr));
            }
            throw EJPEG(m_code);
        }
        return call();
    }

    // Refusals of our own, raised outside the library.
    [[noreturn]] void Refuse(int code) { throw EJPEG(code); }

private:
    // Sets up the error handling and progress reporting, lets attachSource give the library its
    // bytes, and reads the header; on failure the record is torn down before the error goes on.
    template <class AttachSource> void Open(AttachSource attachSource) {
        m_info.err = jpeg_std_error(&m_errors);
        m_errors.error_exit = ErrorExit;
        m_errors.emit_message = EmitMessage;
        m_errors.output_message = OutputMessage;
        m_info.client_data = this;
        try {
            Guard([&] { jpeg_create_decompress(&m_info); });
            m_progress.progress_monitor = ProgressMonitor;
            m_info.progress = &m_progress;
            attachSource();
            Guard([&] { jpeg_read_header(&m_info, TRUE); });
        } catch (...) {
            // Safe after a failed creation too: the record was zeroed, so there is no memory
            // manager to tear down.
            jpeg_destroy_decompress(&m_info);
            throw;
        }
    }

    static TDecodeContext& Of(j_common_ptr info) {
        return *static_cast<TDecodeContext*>(info->client_data);
    }

    [[noreturn]] static void ErrorExit(j_common_ptr info) {
        TDecodeContext& self = Of(info);
        const int code = info->err->msg_code;
        self.m_code = code == JERR_NO_SOI ? kNotAJPEGCode : code;
        std::longjmp(self.m_jump, 1);
    }
    // Warnings (level -1) are counted and passed over; trace messages are dropped.
    static void EmitMessage(j_common_ptr info, int level) {
        if (level < 0) {
            ++info->err->num_warnings;
            ++Of(info).m_warnings;
        }
    }
    static void OutputMessage(j_common_ptr) {}

    // As the library's memory source does at the end of the data: an end-of-image marker is
    // made up, with a warning, so a truncated file decodes as far as it goes.
    static boolean FillFromReader(j_decompress_ptr info) {
        TDecodeContext& self = Of(reinterpret_cast<j_common_ptr>(info));
        std::size_t got = 0;
        try {
            got = self.m_reader(self.m_readerBuffer.data(), self.m_readerBuffer.size());
        } catch (...) {
            self.m_failure = std::current_exception();
        }
        // Jumping only once the handler has finished leaves no exception half caught.
        if (self.m_failure) {
            std::longjmp(self.m_jump, 1);
        }
        if (got == 0) {
            WARNMS(info, JWRN_JPEG_EOF);
            self.m_readerBuffer[0] = 0xFF;
            self.m_readerBuffer[1] = JPEG_EOI;
            got = 2;
        }
        self.m_source.next_input_byte = self.m_readerBuffer.data();
        self.m_source.bytes_in_buffer = got;
        return TRUE;
    }
    static void SkipFromReader(j_decompress_ptr info, long count) {
        TDecodeContext& self = Of(reinterpret_cast<j_common_ptr>(info));
        if (count <= 0) {
            return;
        }
        while (count > static_cast<long>(self.m_source.bytes_in_buffer)) {
            count -= static_cast<long>(self.m_source.bytes_in_buffer);
            FillFromReader(info);
        }
        self.m_source.next_input_byte += count;
        self.m_source.bytes_in_buffer -= static_cast<std::size_t>(count);
    }

    static void ProgressMonitor(j_common_ptr common) {
        TDecodeContext& self = Of(common);
        auto* info = reinterpret_cast<j_decompress_ptr>(common);
        if (info->input_scan_number > kMaxScans) {
            self.m_code = JERR_IMAGE_TOO_BIG;
            std::longjmp(self.m_jump, 1);
        }
        if (self.m_handler == nullptr || !*self.m_handler) {
            return;
        }
        const auto now = std::chrono::steady_clock::now();
        if (!self.m_progressStarted) {
            self.m_progressStarted = true;
            self.m_lastReport = now;
            return;
        }
        if (now - self.m_lastReport < kProgressInterval) {
            return;
        }
        self.m_lastReport = now;
        const jpeg_progress_mgr& p = self.m_progress;
        const int percent =
            JPEGProgressPercent(p.pass_counter, p.pass_limit, p.completed_passes, p.total_passes);
        if (percent == self.m_lastPercent) {
            return;
        }
        self.m_lastPercent = percent;
        const auto row = static_cast<std::int32_t>(info->output_scanline);
        TJPEGProgress report;
        report.Stage = TProgressStage::Running;
        report.PercentDone = static_cast<std::uint8_t>(percent);
        report.Rows = {0, std::min(self.m_lastRow, row),
                       static_cast<std::int32_t>(info->output_width), row};
        report.RedrawNow = report.Rows.Height() >= 4;
        self.m_lastRow = row;
        try {
            (*self.m_handler)(report);
        } catch (...) {
            self.m_failure = std::current_exception();
            std::longjmp(self.m_jump, 1);
        }
    }

    jpeg_decompress_struct m_info{};
    jpeg_error_mgr m_errors{};
    jpeg_progress_mgr m_progress{};
    std::jmp_buf m_jump{};
    int m_code = 0;
    int m_warnings = 0;
    const TJPEGProgressHandler* m_handler;
    bool m_progressStarted = false;
    std::chrono::steady_clock::time_point m_lastReport{};
    int m_lastPercent = -1;
    std::int32_t m_lastRow = 0;
    std::exception_ptr m_failure;
    static constexpr std::size_t kReaderBufferSize = 64 * 1024;
    TJPEGReader m_reader;
    std::vector<JOCTET> m_readerBuffer;
    jpeg_source_mgr m_source{};
};

} // namespace image::detail
