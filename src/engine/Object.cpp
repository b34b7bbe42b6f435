#include "Object.h"

namespace tarvex::engine {

Object::Object(const QString& typeName, ObjectKind kind) : typeName_(typeName), kind_(kind) {}

Object::~Object() = default;

Object* Object::addChild(std::unique_ptr<Object> child)
{
    child->parent_ = this;
    children_.push_back(std::move(child));
    return children_.back().get();
}

std::unique_ptr<Object> Object::takeChild(Object* child)
{
    for (auto it = children_.begin(); it != children_.end(); ++it) {
        if (it->get() == child) {
            std::unique_ptr<Object> out = std::move(*it);
            children_.erase(it);
            out->parent_ = nullptr;
            return out;
        }
    }
    return nullptr;
}

Object* Object::findDescendant(const QString& n) const
{
    for (const auto& c : children_) {
        if (c->name == n)
            return c.get();
        if (Object* d = c->findDescendant(n))
            return d;
    }
    return nullptr;
}

void Object::readAttributes(AttributeBag& bag)
{
    name = bag.takeString(QStringLiteral("Name"));
    hasGeometry = bag.contains(QStringLiteral("Left")) || bag.contains(QStringLiteral("Top"))
                  || bag.contains(QStringLiteral("Width")) || bag.contains(QStringLiteral("Height"));
    left = bag.takeReal(QStringLiteral("Left"), 0);
    top = bag.takeReal(QStringLiteral("Top"), 0);
    width = bag.takeReal(QStringLiteral("Width"), 0);
    height = bag.takeReal(QStringLiteral("Height"), 0);
    visible = bag.takeBool(QStringLiteral("Visible"), true);
    printable = bag.takeBool(QStringLiteral("Printable"), true);
}

void Object::writeAttributes(AttributeBag& out) const
{
    if (!name.isEmpty())
        out.putString(QStringLiteral("Name"), name);
    if (hasGeometry || left != 0 || top != 0 || width != 0 || height != 0) {
        out.putReal(QStringLiteral("Left"), left);
        out.putReal(QStringLiteral("Top"), top);
        out.putReal(QStringLiteral("Width"), width);
        out.putReal(QStringLiteral("Height"), height);
    }
    if (!visible)
        out.putBool(QStringLiteral("Visible"), false);
    if (!printable)
        out.putBool(QStringLiteral("Printable"), false);
}

} // namespace tarvex::engine
