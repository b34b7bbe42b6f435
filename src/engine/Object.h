#pragma once
// Base of every element of a template: pages, bands and the objects placed on bands.

#include "AttributeBag.h"

#include <QString>

#include <memory>
#include <vector>

namespace tarvex::engine {

enum class ObjectKind { Page, Band, Memo, Picture, Line, Shape, Rich, Chart, Subreport, Table, Other };

/// A template element. Owns its children. Geometry is in report units (1/96 inch); Left and Top are
/// relative to the parent band. Every property is public and may be changed, also from the
/// before-print hook while a report is being prepared.
class Object {
public:
    Object(const QString& typeName, ObjectKind kind = ObjectKind::Other);
    virtual ~Object();
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    ObjectKind kind() const { return kind_; }
    /// The XML element name ("TfrxMemoView", or "inherited" in inherited templates).
    const QString& typeName() const { return typeName_; }

    QString name;
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    bool visible = true;   ///< hidden objects take no place and are not drawn
    bool printable = true; ///< non-printable objects are left out of printouts and exports

    /// Attributes this engine does not interpret, in file order; written back unchanged.
    AttributeBag extra;
    /// Whether the element carried geometry (elements such as <Formats> have none).
    bool hasGeometry = true;

    Object* parent() const { return parent_; }
    const std::vector<std::unique_ptr<Object>>& children() const { return children_; }
    /// Appends a child and takes ownership; returns it.
    Object* addChild(std::unique_ptr<Object> child);
    /// Removes a child and hands ownership to the caller (null when it is not a child).
    std::unique_ptr<Object> takeChild(Object* child);

    /// Depth-first search below this object (not including it) by exact name; null when absent.
    Object* findDescendant(const QString& name) const;

    /// Takes the attributes this class interprets out of `bag`; the caller keeps the rest in `extra`.
    virtual void readAttributes(AttributeBag& bag);
    /// Appends the interpreted attributes (those that differ from their default) to `out`.
    virtual void writeAttributes(AttributeBag& out) const;

private:
    QString typeName_;
    ObjectKind kind_;
    Object* parent_ = nullptr;
    std::vector<std::unique_ptr<Object>> children_;
};

} // namespace tarvex::engine
