#pragma once

#include "ToolBoxExceptions.h"

namespace fiscora {

// A book cannot be opened, read or changed; the message says why, in the user's terms.
class EBookError : public ECustomException {
public:
    using ECustomException::ECustomException;
};

// A save that lost a race: the asset changed or went since it was loaded. Nothing was written.
class EBookConflict : public EBookError {
public:
    using EBookError::EBookError;
};

// The book may be read but not changed, by this user or through this connection.
class EBookReadOnly : public EBookError {
public:
    using EBookError::EBookError;
};

} // namespace fiscora
