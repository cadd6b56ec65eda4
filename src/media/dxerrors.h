// The media layer's exceptions: a DirectX result or a failing picture, named after its object.
#pragma once

#include <exception>
#include <string>

#include "platform/api/wintypes.h"

class XDXException : public std::exception {
  public:
    explicit XDXException(std::string objectName) : ObjectName(std::move(objectName)) {}
    XDXException(HRESULT code, std::string objectName)
        : Code(code), ObjectName(std::move(objectName)) {}
    XDXException(const XDXException&) = default;
    XDXException& operator=(const XDXException&) = default;
    ~XDXException() override = default;

    // The readable message composed from Code and ObjectName.
    virtual std::string Message() const;
    const char* what() const noexcept override;

    HRESULT Code = 0;
    std::string ObjectName;

  private:
    mutable std::string text_;
};

class XFileNotExist : public XDXException {
  public:
    explicit XFileNotExist(std::string fileName);
    XFileNotExist(const XFileNotExist& other);
    XFileNotExist& operator=(const XFileNotExist&) = default;
    std::string Message() const override;
};

class XOutOfMemory : public XDXException {
  public:
    using XDXException::XDXException;
    std::string Message() const override;
};

class XInvalidFormat : public XDXException {
  public:
    using XDXException::XDXException;
    std::string Message() const override;
};

class XSurfaceLost : public XDXException {
  public:
    XSurfaceLost();
    std::string Message() const override;
};

// The sentence of the DirectX message table for a result, naming the object.
std::string DirectXResultText(HRESULT code, const std::string& objectName);
