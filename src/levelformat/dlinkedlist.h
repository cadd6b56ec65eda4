// TDLinkedList<T>: the doubly linked list with a remembered cursor that holds the level data.
#pragma once

#include <cstdint>
#include <exception>

// Raised by TDLinkedList<T>::Items for an index without a node; it carries no message text.
template <typename T>
class XIndexOutOfRange : public std::exception {
  public:
    const char* what() const noexcept override { return ""; }
};

// The list owns its nodes and their items. Items(i) walks from the node it reached last (or
// from the nearer end after a miss), so a walk by increasing or decreasing index costs one step
// per call. A range-for walks the items from head to tail without moving the cursor.
template <typename T>
class TDLinkedList {
  public:
    struct Node {
        T Item;
        Node* Next = nullptr;
        Node* Prev = nullptr;
    };

    TDLinkedList() = default;
    // Records are copied by value, nested lists included.
    TDLinkedList(const TDLinkedList& other) { Append(other); }
    TDLinkedList& operator=(const TDLinkedList& other) {
        if (this != &other) {
            Clear();
            Append(other);
        }
        return *this;
    }
    ~TDLinkedList() { Clear(); }

    // Appends a copy after the tail; the cursor stays where it was.
    void Add(const T& item) {
        Node* node = new Node{item, nullptr, Tail};
        if (Tail != nullptr) {
            Tail->Next = node;
        } else {
            Head = node;
        }
        Tail = node;
        ++Count;
    }

    T& Items(std::int32_t i) {
        if (Cursor == nullptr) {
            if (i <= Count / 2) {
                Cursor = Head;
                CursorIndex = 0;
            } else {
                Cursor = Tail;
                CursorIndex = Count - 1;
            }
        }
        if (i > CursorIndex) {
            while (i > CursorIndex && Cursor != nullptr) {
                Cursor = Cursor->Next;
                ++CursorIndex;
            }
        } else {
            while (i < CursorIndex && Cursor != nullptr) {
                Cursor = Cursor->Prev;
                --CursorIndex;
            }
        }
        if (Cursor == nullptr) {
            throw XIndexOutOfRange<T>();
        }
        return Cursor->Item;
    }

    // Reads the items from head to tail, leaving the cursor where it is.
    class ConstIterator {
      public:
        explicit ConstIterator(const Node* node) : node_(node) {}
        const T& operator*() const { return node_->Item; }
        ConstIterator& operator++() {
            node_ = node_->Next;
            return *this;
        }
        bool operator==(const ConstIterator&) const = default;

      private:
        const Node* node_;
    };
    ConstIterator begin() const { return ConstIterator(Head); }
    ConstIterator end() const { return ConstIterator(nullptr); }

    // Lists are equal when they hold equal items in the same order; the cursors do not count.
    bool operator==(const TDLinkedList& other) const {
        ConstIterator a = begin();
        ConstIterator b = other.begin();
        for (; a != end() && b != other.end(); ++a, ++b) {
            if (!(*a == *b)) {
                return false;
            }
        }
        return a == end() && b == other.end();
    }

    void Clear() {
        while (Head != nullptr) {
            Node* next = Head->Next;
            delete Head;
            Head = next;
        }
        Cursor = nullptr;
        Tail = nullptr;
        CursorIndex = 0;
        Count = 0;
    }

    Node* Head = nullptr;
    Node* Cursor = nullptr;  // the node Items reached last; null when it ran off an end
    Node* Tail = nullptr;
    std::int32_t CursorIndex = 0;
    std::int32_t Count = 0;

  private:
    void Append(const TDLinkedList& other) {
        for (const T& item : other) {
            Add(item);
        }
    }
};
