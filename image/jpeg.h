#pragma once
// The JPEG module: the JPEG picture and what it is made of. Pictures are read from JPEG bytes and
// decoded by the JPEG library; this program never writes JPEG files.

#include "image/jpeg/EJPEG.h"
#include "image/jpeg/JPEGDecoder.h"
#include "image/jpeg/TDecodedPicture.h"
#include "image/jpeg/TJPEGImage.h"
