#pragma once

// The program's outcomes. Each travels up by return value and becomes the exit
// code unchanged; nothing else reports them.
enum ResultCode : int {
    Success = 0,
    OutputFailed = 1,      // the dump succeeded but standard output could not be written
    InvalidArguments = 2,  // also: the offset lies at or beyond the end of the file
    OpenFailed = 3,
    ReadFailed = 4,  // positioning or reading the file failed
    SizeQueryFailed = 7,
};
