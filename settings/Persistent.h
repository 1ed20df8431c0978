#pragma once

#include <QString>

// Root of the settings classes: a class name for messages and a virtual destructor.
class TObject {
public:
    virtual ~TObject() = default;
    virtual QString ClassName() const { return QStringLiteral("TObject"); }

protected:
    TObject() = default;
    TObject(const TObject&) = default;
    TObject& operator=(const TObject&) = default;
};

// Objects that copy their state from another by Assign; a source that does not know how is
// rejected with EConvertError "<source> を <target> に代入することはできません".
class TPersistent : public TObject {
public:
    QString ClassName() const override { return QStringLiteral("TPersistent"); }
    // A null source is rejected as "nil".
    virtual void Assign(const TPersistent* source);

protected:
    // Lets the source copy itself into a target that does not know it; rejects by default.
    virtual void AssignTo(TPersistent* dest) const;
    [[noreturn]] void AssignError(const TPersistent* source) const;
};
