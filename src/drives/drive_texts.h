#pragma once

namespace corvane {

// The drive subsystem's texts: its messages to the user and its log lines.

// Shown to the user.
inline constexpr const char* kNoRemovableDrivesText =
    "No removable drives found (NOTE: eSata flash are not classed as removable)";
inline constexpr const char* kErrorSelectingDeviceText = "Error selecting device";
inline constexpr const char* kSelectedDeviceNotFoundText =
    "Selected device was not found,  list will be reset";
inline constexpr const char* kProbeAllocFailedText =
    "Fatal error trying to allocated buffer memory";
inline constexpr const char* kProbeAllocFailedCaption = "Fatal Error";
// The text of a panel field that holds no value.
inline constexpr const char* kNoValueText = "---";

// The drive walk.
inline constexpr const char* kLogWalkStart = "Start FillHDDComboList()";
inline constexpr const char* kLogWalkGotStrings =
    "FillHDDComboList() - Successfully fetched logical drive strings";
inline constexpr const char* kLogWalkLoopStart = "FillHDDComboList() - Start inquiry loop";
inline constexpr const char* kLogWalkGettingHandle = "FillHDDComboList() - Getting drive handle";
inline constexpr const char* kLogWalkSendingInquiry =
    "FillHDDComboList() - Got a device sending INQUIRY";
inline constexpr const char* kLogWalkInquiryError =
    "FillHDDComboList() - Device Inquiry resulted in an error";
inline constexpr const char* kLogWalkFoundDevice = "FillHDDComboList() - Found Device ";
inline constexpr const char* kLogWalkNotDasd = "FillHDDComboList() - Device Type not DTYPE_DASD";
inline constexpr const char* kLogWalkLoopEnd = "FillHDDComboList() - End inquiry loop";
inline constexpr const char* kLogWalkEnd = "End FillHDDComboList()";
inline constexpr const char* kLogWalkException =
    "EXCEPTION OCCURRED IN CPelzorDlg::FillHDDComboList - ";

// The selection.
inline constexpr const char* kLogSelectStart = "Start CMeltrick::GetSelectedDevice()";
inline constexpr const char* kLogSelectEnd = "End CMeltrick::GetSelectedDevice()";
inline constexpr const char* kLogSelectNull =
    "CMeltrick::GetSelectedDevice() - ERROR device was NULL";

// The command channel.
inline constexpr const char* kLogAssociate = "associate -  handle created";
inline constexpr const char* kLogAssociateException = "CScsiCommand::associate - ";
inline constexpr const char* kLogCloseHandle = "CloseAssociateHandle -  handle closed";
inline constexpr const char* kLogCloseException = "CScsiCommand::CloseAssociateHandle - ";
inline constexpr const char* kLogMcnTrue = "DisableMCN(TRUE)";
inline constexpr const char* kLogMcnFalse = "DisableMCN(FALSE)";
inline constexpr const char* kLogMcnOpenFailed =
    "DisableMCN - Unexpected result from CreateFile, failed to change MCN status";
inline constexpr const char* kLogMcnDisabled = "DisableMCN - MCN disabled";
inline constexpr const char* kLogMcnEnabled = "DisableMCN - MCN enabled";
inline constexpr const char* kLogLastErrorReturned = "GetLastError() returned - ";
inline constexpr const char* kLogMcnDisableFailed = "DisableMCN - Failed to disable MCN";
inline constexpr const char* kLogMcnEnableFailed = "DisableMCN - Failed to enable MCN";
inline constexpr const char* kLogMcnCloseFailed =
    "DisableMCN - Failed to close MCN temporary handle";

} // namespace corvane
